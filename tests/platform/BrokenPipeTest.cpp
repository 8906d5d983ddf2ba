// A write to a pipe nobody reads any more must fail, not end the process: an office killed
// while the program talks to it would otherwise take the whole run down.
#include "platform/BrokenPipe.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace slidemill {
namespace {

// Writes to a pipe whose reader is closed, in a child so the test process keeps its signals.
// Returns the child's wait status.
int WriteToBrokenPipe(bool ignore) {
    const pid_t child = fork();
    if (child == 0) {
        if (ignore)
            IgnoreBrokenPipeSignal();
        int ends[2];
        if (pipe(ends) != 0)
            _exit(3);
        close(ends[0]);
        const ssize_t written = write(ends[1], "x", 1);
        _exit(written == -1 && errno == EPIPE ? 0 : 4);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(BrokenPipe, AWriteToAVanishedReaderFailsInsteadOfEndingTheProcess) {
    const int unprotected = WriteToBrokenPipe(false);
    ASSERT_TRUE(WIFSIGNALED(unprotected)) << "the check needs the default to end the process";
    EXPECT_EQ(WTERMSIG(unprotected), SIGPIPE);

    const int protectedStatus = WriteToBrokenPipe(true);
    ASSERT_TRUE(WIFEXITED(protectedStatus));
    EXPECT_EQ(WEXITSTATUS(protectedStatus), 0) << "the write failed with EPIPE";
}

} // namespace
} // namespace slidemill
