#include "offline/headless_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
pid_t g_server = -1;

void stop_at_exit()
{
    stop_headless_display();
}
}  // namespace

void stop_headless_display()
{
    if (g_server <= 0)
        return;
    kill(g_server, SIGTERM);
    waitpid(g_server, nullptr, 0);
    g_server = -1;
}

bool ensure_headless_display(int width, int height, std::string& error)
{
    const char* d = std::getenv("DISPLAY");
    if (d && *d)
        return true;
    int fds[2];
    if (pipe(fds) != 0) {
        error = "cannot start an X server: no pipe";
        return false;
    }
    const std::string screen = std::to_string(std::max(width, 640)) + "x" + std::to_string(std::max(height, 480)) +
                               "x24";
    const std::string fd = std::to_string(fds[1]);
    const pid_t pid = fork();
    if (pid < 0) {
        error = "cannot start an X server: fork failed";
        return false;
    }
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the capture
        setpgid(0, 0);  // Ctrl-C on the terminal is for the capture, which stops cleanly
        // A file-size limit meant for the capture's output is not the server's.
        rlimit files;
        if (getrlimit(RLIMIT_FSIZE, &files) == 0) {
            files.rlim_cur = files.rlim_max;
            setrlimit(RLIMIT_FSIZE, &files);
        }
        close(fds[0]);
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        // -displayfd: the server picks a free display number and writes it
        // to the pipe once it accepts connections.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    g_server = pid;
    static const bool hooked = std::atexit(stop_at_exit) == 0;
    (void)hooked;

    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 15000) > 0) {
        char buf[16];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        number.append(buf, size_t(n));
        if (number.find('\n') != std::string::npos)
            break;
    }
    close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == ' '))
        number.pop_back();
    if (number.empty()) {
        stop_headless_display();
        error = "there is no display (DISPLAY is unset) and no private X server could be started (is Xvfb installed?)";
        return false;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return true;
}
