#include "run/FileNameParts.h"

namespace slidemill {

namespace {

std::string_view::size_type ExtensionDot(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view::npos : dot;
}

} // namespace

std::string FolderPartOf(std::string_view path) {
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return std::string(path.substr(0, slash + 1));
}

std::string_view NamePartOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ExtensionOfName(std::string_view name) {
    const auto dot = ExtensionDot(name);
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

std::string_view BaseOfName(std::string_view name) {
    const auto dot = ExtensionDot(name);
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

} // namespace slidemill
