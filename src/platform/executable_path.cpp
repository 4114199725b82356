#include "platform/executable_path.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

std::string executable_path()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "";
    return std::string(buf, size_t(n));
}

std::string working_directory()
{
    char buf[PATH_MAX];
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

int run_program(const std::string& path, const std::vector<std::string>& args, std::string& error)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = std::strerror(errno);
        return -1;
    }
    if (pid == 0) {
        ::execv(path.c_str(), argv.data());
        // 127 as a shell says it: the program could not be run.
        _exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) {
            error = std::strerror(errno);
            return -1;
        }
    if (WIFEXITED(status)) {
        if (WEXITSTATUS(status) == 127 && ::access(path.c_str(), X_OK) != 0) {
            error = path + ": " + std::strerror(errno);
            return -1;
        }
        return WEXITSTATUS(status);
    }
    return 128 + WTERMSIG(status);
}
