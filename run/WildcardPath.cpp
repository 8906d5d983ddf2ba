#include "run/WildcardPath.h"

#include "run/FileNameParts.h"

namespace slidemill {

namespace {

constexpr const char* kWildcards = "*?";

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool HasNameWildcard(std::string_view path) {
    return path.find_first_of(kWildcards) != std::string_view::npos;
}

bool SplitWildcardPath(std::string_view path, std::string& folder, std::string& pattern) {
    const std::size_t first = path.find_first_of(kWildcards);
    if (first == std::string_view::npos) {
        folder = FolderPartOf(path);
        pattern = std::string(NamePartOf(path));
        return true;
    }
    const std::size_t slash = path.rfind('/', first);
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    folder = std::string(path.substr(0, nameStart));
    pattern = std::string(path.substr(nameStart));
    return pattern.find('/') == std::string::npos;
}

std::string WildcardFolderOf(std::string_view path) {
    std::string folder, pattern;
    SplitWildcardPath(path, folder, pattern);
    return folder;
}

bool HasWildcardInFolder(std::string_view path) {
    std::string folder, pattern;
    return !SplitWildcardPath(path, folder, pattern);
}

bool MatchesNamePattern(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*")
        return true;
    if (pattern == "*.")
        return ExtensionOfName(name).empty();
    // Greedy match that backs up to the last "*" on a mismatch: linear for the patterns people
    // type, and never recursive.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace slidemill
