#include "platform/ProcessEnvironment.h"

#include <cstdlib>
#include <unistd.h>

namespace slidemill {

std::string UserCacheFolder() {
    const auto withoutSlash = [](std::string s) {
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        return s;
    };
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return withoutSlash(cache);
    if (const char* home = std::getenv("HOME"); home && *home)
        return withoutSlash(std::string(home) + "/.cache");
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
        return withoutSlash(tmp);
    return "/tmp";
}

long CurrentProcessId() {
    return static_cast<long>(getpid());
}

void SetEnvironmentDefault(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 0);
}

} // namespace slidemill
