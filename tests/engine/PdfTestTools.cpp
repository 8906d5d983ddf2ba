#include "PdfTestTools.h"

#include <cstdio>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace slidemill::test {

ToolResult RunTool(const std::vector<std::string>& arguments) {
    ToolResult result;
    int fds[2];
    if (arguments.empty() || pipe(fds) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        result.output.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    if (spawned != 0)
        return result;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

namespace {
std::vector<std::string> WithPassword(std::vector<std::string> command, const std::string& password,
                                      const std::string& path) {
    if (!password.empty()) {
        command.push_back("-upw");
        command.push_back(password);
    }
    command.push_back(path);
    return command;
}
} // namespace

std::string PdfFonts(const std::string& path, const std::string& password) {
    return RunTool(WithPassword({"pdffonts"}, password, path)).output;
}

std::string PdfPlainText(const std::string& path, const std::string& password) {
    auto command = WithPassword({"pdftotext"}, password, path);
    command.push_back("-");
    return RunTool(command).output;
}

bool PdfPageSize(const std::string& path, double& width, double& height, const std::string& password) {
    const auto info = RunTool(WithPassword({"pdfinfo"}, password, path));
    std::smatch m;
    static const std::regex size(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)");
    if (info.status != 0 || !std::regex_search(info.output, m, size))
        return false;
    width = std::stod(m[1].str());
    height = std::stod(m[2].str());
    return true;
}

std::string PdfEncryption(const std::string& path, const std::string& password) {
    return RunTool({"qpdf", "--show-encryption", "--password=" + password, path}).output;
}

bool PdfRequiresPassword(const std::string& path) {
    return RunTool({"qpdf", "--requires-password", path}).status == 0;
}

bool PdfIsEncrypted(const std::string& path) {
    return RunTool({"qpdf", "--is-encrypted", path}).status == 0;
}

std::string MakeBlankPdf(const std::string& path) {
    RunTool({"qpdf", "--empty", path});
    return path;
}

} // namespace slidemill::test
