#pragma once

#include <string>

namespace slidemill {

// The user's cache folder without a trailing "/": $XDG_CACHE_HOME, else $HOME/.cache, else
// the temporary folder.
std::string UserCacheFolder();

// A number that differs between running processes (the process id).
long CurrentProcessId();

// Sets a variable of this process's environment unless it is set already (a value the user
// gave wins). Call it before other threads read the environment.
void SetEnvironmentDefault(const std::string& name, const std::string& value);

} // namespace slidemill
