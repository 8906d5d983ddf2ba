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
// and returns the result; a leading "~/" becomes the home folder.
std::string ExpandFolderTokens(std::string& path);
// The folder of a special-folder id without a trailing "/", or a marker text on failure:
// "Special Folder Does Not Exist" / "Folder Not Valid On this OS".
std::string SpecialFolderPath(int folderId);
// The same lookup; "(error)" on any failure.
std::string SpecialFolderPathOrError(int folderId);
// "name.ext" of the last component; a name without extension gives "name."; "" on error.
std::string FileNameOfPath(const std::string& path);
// The parent folder without a trailing "/" (the root stays "/"); "" on error.
std::string ParentFolderOf(const std::string& path);
bool FolderExists(const std::string& path);
bool PathExists(const std::string& path);
// Creates the folder and its missing parents; errors are ignored.
void CreateFolderTree(const std::string& folder);
bool CopyFolderTree(const std::string& source, const std::string& destination, bool overwrite);
// Copies the file into folder (created when missing) and deletes the source only once the copy
// is complete. Moving a file onto itself succeeds and changes nothing.
bool MoveFileToFolder(const std::string& file, const std::string& folder);
// "/" for an absolute path ("/" with or without the flag), "" for a relative one.
std::string DriveRootOf(const std::string& path, bool addSeparator);
std::string DeepestExistingFolder(const std::string& path);
std::string NearestExistingPath(const std::string& path);
// Removes every repetition of piece from the end of text, then from its start (case-insensitive).
std::string TrimCharBothEnds(const std::string& text, const std::string& piece);
// A name in folder (or the temporary folder) that no file has yet; "" when none is found.
std::string MakeTempFileName(const std::string& folder, const std::string& prefix, const std::string& extension);
bool IsFolderWritable(const std::string& path);
int CheckOutputFolder(const std::string& path, std::string& suggestedFolder, std::string& message);
// Copies the shipped demo and language folders into the settings folder once per user.
void InstallDemoFolders();
// Whether two paths name the same file: by identity when both exist, else by exact text.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace slidemill
