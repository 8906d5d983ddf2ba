#include "EngineTestSupport.h"

#include "support/TempFolder.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string Quoted(const std::string& path) {
    std::string q = "'";
    for (char c : path)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace

std::string CorpusFolder() {
    return SLIDEMILL_CORPUS_DIR;
}

bool HaveCorpus() {
    return fs::is_directory(CorpusFolder() + "/good") && fs::is_directory(CorpusFolder() + "/bad");
}

std::string GoodFile(const std::string& name) {
    return CorpusFolder() + "/good/" + name;
}

std::string BadFile(const std::string& name) {
    return CorpusFolder() + "/bad/" + name;
}

EngineOptions TestEngineOptions() {
    EngineOptions options;
    options.profileRoot = SLIDEMILL_TEST_PROFILES;
    return options;
}

namespace {

// The shared office ends with the test run, before the process starts to exit.
class SharedEngineShutDown : public ::testing::Environment {
public:
    void TearDown() override { SharedEngine().ShutDown(); }
};
[[maybe_unused]] const auto* const shutDown = ::testing::AddGlobalTestEnvironment(new SharedEngineShutDown);

} // namespace

LibreOfficeComponent& SharedEngine() {
    static LibreOfficeComponent engine(TestEngineOptions());
    return engine;
}

int32_t ConvertFile(ConversionComponent& engine, const std::string& source, const std::string& target,
                    const Request& request) {
    engine.SetFromSlide(request.from);
    engine.SetToSlide(request.to);
    engine.SetOneFilePerSlide(request.perSlide);
    engine.SetSourceFile(source);
    engine.SetTargetFile(target);
    engine.SetTargetFormat(request.format);
    engine.SetIncludeNotesPage(request.notes);
    engine.SetNotesOnly(request.notesOnly);
    engine.SetShowSlideAndShape(request.showSlideAndShape);
    return engine.Convert();
}

int PdfPageCount(const std::string& path) {
    std::istringstream lines(Run("pdfinfo " + Quoted(path) + " 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Pages:", 0) == 0)
            return std::stoi(line.substr(6));
    }
    return -1;
}

std::string PdfText(const std::string& path) {
    return Run("pdftotext " + Quoted(path) + " - 2>/dev/null");
}

bool PngSize(const std::string& path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header))
        return false;
    if (header[0] != 0x89 || header[1] != 'P' || header[2] != 'N' || header[3] != 'G')
        return false;
    const auto be32 = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    width = be32(16);
    height = be32(20);
    return true;
}

std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

struct ProcStat {
    int pid = 0;
    std::string name;
    char state = 0;
    int parent = 0;
    int group = 0;
};

std::vector<ProcStat> AllProcesses() {
    std::vector<ProcStat> all;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        std::getline(stat, text);
        // pid (comm) state ppid ...: comm may hold spaces, so read after the last ')'.
        const auto open = text.find('(');
        const auto close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        ProcStat process;
        process.pid = std::stoi(name);
        process.name = text.substr(open + 1, close - open - 1);
        std::istringstream rest(text.substr(close + 2));
        rest >> process.state >> process.parent >> process.group;
        all.push_back(process);
    }
    return all;
}

} // namespace

std::vector<ChildInfo> ChildProcesses() {
    std::vector<ChildInfo> children;
    const int self = static_cast<int>(getpid());
    for (const auto& process : AllProcesses())
        if (process.parent == self)
            children.push_back({process.pid, process.state, process.name});
    return children;
}

std::vector<std::string> ProcessesInGroup(int group, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::vector<std::string> members;
        for (const auto& process : AllProcesses())
            if (process.group == group)
                members.push_back(std::to_string(process.pid) + " " + process.state + " " + process.name);
        if (members.empty() || std::chrono::steady_clock::now() >= end)
            return members;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool ProcessExists(int pid) {
    return fs::exists("/proc/" + std::to_string(pid));
}

} // namespace slidemill::test
