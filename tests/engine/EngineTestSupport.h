#pragma once

#include "engine/LibreOfficeComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slidemill::test {

// The corpus of real presentations lives beside the repository (../shared/corpus).
std::string CorpusFolder();
bool HaveCorpus();
#define SLIDEMILL_REQUIRE_CORPUS()                                                                           \
    do {                                                                                                     \
        if (!::slidemill::test::HaveCorpus())                                                                \
            FAIL() << "corpus not found at " << ::slidemill::test::CorpusFolder();                           \
    } while (0)
std::string GoodFile(const std::string& name);
std::string BadFile(const std::string& name);

// Options for test offices: their profiles live in the build tree, so they stay warm
// between test processes.
EngineOptions TestEngineOptions();
// One engine shared by every case of the test process.
LibreOfficeComponent& SharedEngine();

struct Request {
    int32_t format = 32;
    int32_t from = 0;
    int32_t to = 0;
    bool perSlide = false;
    bool notes = false;
    bool notesOnly = false;
    bool showSlideAndShape = false;
};
int32_t ConvertFile(ConversionComponent& engine, const std::string& source, const std::string& target,
                    const Request& request = {});

// -1 when pdfinfo cannot read the file.
int PdfPageCount(const std::string& path);
// The text pdftotext finds in the file.
std::string PdfText(const std::string& path);
bool PngSize(const std::string& path, int& width, int& height);
// Files directly in a folder, by name.
std::vector<std::string> FileNames(const std::string& folder);

// Processes whose parent is this test process: pid and state letter ('Z' = zombie).
struct ChildInfo {
    int pid;
    char state;
    std::string name;
};
std::vector<ChildInfo> ChildProcesses();
bool ProcessExists(int pid);
// Processes of a process group, zombies included, as "pid state name". Killed members take a
// moment to disappear: this waits up to timeoutMs for the group to empty.
std::vector<std::string> ProcessesInGroup(int group, int timeoutMs = 3000);

} // namespace slidemill::test
