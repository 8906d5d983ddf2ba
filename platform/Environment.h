#pragma once

#include <string>

namespace slidemill {

// The value of an environment variable, "" when it is unset.
std::string EnvironmentValue(const std::string& name);

// The user's home folder without a trailing "/": $HOME when it is an absolute path, else the
// account's entry in the password database; "" when neither is known.
std::string HomeFolder();

// $XDG_CONFIG_HOME, else <home>/.config; "" when no home folder is known.
std::string UserConfigFolder();

// $XDG_DATA_HOME, else <home>/.local/share; "" when no home folder is known.
std::string UserDataFolder();

// The user's documents folder: $XDG_DOCUMENTS_DIR, else the XDG_DOCUMENTS_DIR line of
// <config>/user-dirs.dirs, else <home>/Documents; "" when no home folder is known.
std::string UserDocumentsFolder();

// The XDG_DOCUMENTS_DIR entry of the text of a user-dirs.dirs file, with "$HOME" replaced by
// home; "" when the text has no usable entry.
std::string DocumentsFolderFromUserDirs(const std::string& userDirsText, const std::string& home);

// $TMPDIR when it is an absolute path, else "/tmp"; no trailing "/".
std::string SystemTempFolder();

// The folder that holds the running executable, "" when it cannot be found.
std::string ExecutableFolder();

} // namespace slidemill
