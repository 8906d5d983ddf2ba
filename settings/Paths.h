#pragma once

#include <string>

namespace slidemill {

// Special folders, by their historical ids (the ids are stored in users' files and code).
enum SpecialFolder : int {
    kFolderDocuments = 5,
    kFolderAppData = 26,
    kFolderLocalAppData = 28,
    kFolderCommonAppData = 35,
    kFolderSystem = 36,
    kFolderProgramFiles = 38,
    kFolderProfile = 40,
    kFolderProgramFilesX86 = 42,
    kFolderCommonDocuments = 46,
};

// Output-folder check results.
enum OutputFolderStatus : int {
    kOutputFolderOk = 0,
    kOutputFolderUnknown = 1,
    kOutputFolderSystem = 2,
    kOutputFolderProtected = 3,
    kOutputFolderRoot = 4,
    kOutputFolderNotWritable = 5,
};

// Trims path in place, then replaces the first kind of folder token found ("%APPDATA%" ...)
// and returns the result; a leading "~/" becomes the home folder. "%HOMEPATH%" is the home
// folder, like "%USERPROFILE%".
std::string ExpandFolderTokens(std::string& path);
// The folder of a special-folder id without a trailing "/", or a marker text on failure:
// "Special Folder Does Not Exist" (known but missing on disk) / "Folder Not Valid On this OS"
// (unknown id, or no home folder).
std::string SpecialFolderPath(int folderId);
// The same lookup; "(error)" for an unknown id or when there is no home folder. A folder that
// does not exist yet is still returned: it is created on first use.
std::string SpecialFolderPathOrError(int folderId);
// "name.ext" of the last component; a name without extension gives "name."; "" on error.
std::string FileNameOfPath(const std::string& path);
// The parent folder without a trailing "/" (the root stays "/"); "" on error.
std::string ParentFolderOf(const std::string& path);
bool FolderExists(const std::string& path);
bool PathExists(const std::string& path);
// Creates the folder and its missing parents; errors are ignored.
void CreateFolderTree(const std::string& folder);
// Copies source's contents into destination (created when missing). Without overwrite an
// existing file is kept and the result is false; copying continues with the other files.
// Every file appears complete or not at all.
bool CopyFolderTree(const std::string& source, const std::string& destination, bool overwrite);
// Moves the file into folder (created when missing), replacing a file of the same name there.
// The source is deleted only once the copy is complete and on disk; a failed copy leaves no
// partial file. Moving a file onto itself succeeds and changes nothing.
bool MoveFileToFolder(const std::string& file, const std::string& folder);
// "/" for an absolute path ("/" with or without the flag), "" for a relative one.
std::string DriveRootOf(const std::string& path, bool addSeparator);
// The deepest existing folder along an absolute path ("/" at least); "" for a relative path.
std::string DeepestExistingFolder(const std::string& path);
// Where a file picker should start: the path's folder when it exists, else the nearest existing
// parent followed by the typed name; otherwise the trimmed path as given.
std::string NearestExistingPath(const std::string& path);
// Removes every repetition of piece from the end of text, then from its start (case-insensitive).
std::string TrimCharBothEnds(const std::string& text, const std::string& piece);
// A name in folder (or the temporary folder) that no file has yet, such as "ABC01234.TMP":
// 8 minus the prefix's length random digits (at least one); "" when none is found. Nothing is
// created.
std::string MakeTempFileName(const std::string& folder, const std::string& prefix,
                             const std::string& extension);
// Whether a file can be created in path, or for a missing folder in its deepest existing
// parent. A path of which no part exists (a relative one) is not writeable. The probe file is
// created exclusively and always removed.
bool IsFolderWritable(const std::string& path);
// Judges the deepest existing part of the expanded path and returns an OutputFolderStatus with
// its (untranslated) message; suggestedFolder is the folder to offer instead, without a
// trailing "/".
int CheckOutputFolder(const std::string& path, std::string& suggestedFolder, std::string& message);
// Copies the shipped demo and language folders into the settings folder once per user.
void InstallDemoFolders();
// The same, taking the shipped folders from programFolder.
void InstallDemoFolders(const std::string& programFolder);
// The folder of the program's shipped data (demo folders, languages, help): <exe>/share/slidemill
// when run from the build tree, else <exe>/../share/slidemill, else the installed data folder.
std::string ProgramFolder();
// Whether two paths name the same file: by identity when both exist, else by exact text.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace slidemill
