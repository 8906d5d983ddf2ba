#pragma once

#include <string>
#include <string_view>

namespace slidemill {

// The folder part of a path as text, with its trailing "/": "/in/a/x.ppt" gives "/in/a/",
// "/x.ppt" gives "/" (never "//"), a bare name gives "". Works on wildcard paths too.
std::string FolderPartOf(std::string_view path);

// The name after the last "/".
std::string_view NamePartOf(std::string_view path);

// The extension of a file name: the text after its last dot, "" when there is none. A dot
// that starts the name marks a hidden file, not an extension (".profile" has none).
std::string_view ExtensionOfName(std::string_view name);

// The name without its last extension and that dot ("a.b.ppt" gives "a.b").
std::string_view BaseOfName(std::string_view name);

} // namespace slidemill
