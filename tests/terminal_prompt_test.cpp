// The full-screen question on the terminal: only a "y" typed at a terminal
// means yes.
#include <fcntl.h>
#include <sys/wait.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "platform/terminal_prompt.h"

namespace {
// Runs ask_yes_no in a child whose standard input is a pseudo-terminal fed
// with `typed` (or closed at once when eof), and returns its answer.
int answer_on_terminal(const std::string& typed, bool eof)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    const std::string slave = ptsname(master);
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(slave.c_str(), O_RDWR);
        dup2(fd, 0);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        _exit(ask_yes_no("Fullscreen madness?", "madness?") ? 1 : 0);
    }
    if (!typed.empty())
        (void)!write(master, typed.data(), typed.size());
    if (eof)
        (void)!write(master, "\x04", 1);  // end of input at the terminal
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(FullscreenQuestion, OnlyATypedYesMeansYes)
{
    EXPECT_EQ(answer_on_terminal("y\n", false), 1);
    EXPECT_EQ(answer_on_terminal("  Yes please\n", false), 1);
    EXPECT_EQ(answer_on_terminal("\n", false), 0);
    EXPECT_EQ(answer_on_terminal("nope\n", false), 0);
    EXPECT_EQ(answer_on_terminal("", true), 0);
}

TEST(FullscreenQuestion, NoTerminalMeansNoWithoutWaiting)
{
    // The test's standard input is not a terminal under ctest; make sure.
    int saved = dup(0);
    int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    EXPECT_FALSE(ask_yes_no("Fullscreen madness?", "madness?"));
    dup2(saved, 0);
    close(devnull);
    close(saved);
}
