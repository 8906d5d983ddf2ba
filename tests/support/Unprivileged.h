#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace slidemill::test {

// The account permission checks run as when the tests run as root: "nobody".
inline constexpr unsigned kUnprivilegedId = 65534;

// Runs check in a child process whose permission bits stop it: as root, the child first gives
// up root for the unprivileged account (groups, group id, user id); as any other user it stays
// that user, who is already stopped. check returns an empty text when every expectation held,
// else what went wrong; the child reports through its exit status and a pipe. Fails (never
// skips) when the child could not give up root, could regain it, or did not end normally.
::testing::AssertionResult RunUnprivileged(const std::function<std::string()>& check);

// Hands folder (with everything in it) to the unprivileged account, so the child can reach and
// change what the test set up. Does nothing unless the tests run as root. False when that could
// not be done, or a folder above it does not let others pass (the tests' own temporary folders
// are opened for passing; any other must allow it already, as /tmp does).
bool HandToUnprivileged(const std::filesystem::path& folder);

// Runs work in such a child and answers the text it returned, for the caller to check. As root,
// reachable and every folder above it are first opened for other accounts to pass. Throws when
// the child could not give up root, threw or died, so that a test cannot pass without having
// run its work.
std::string AsUnprivilegedUser(const std::function<std::string()>& work,
                               const std::filesystem::path& reachable);

} // namespace slidemill::test

// Inside a check given to RunUnprivileged: ends it with the failed condition and its line.
#define UNPRIVILEGED_EXPECT(condition)                                                                       \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            return std::string(__FILE__) + ":" + std::to_string(__LINE__) + ": expected " #condition;        \
    } while (0)
