#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

cFileWatch::cFileWatch() : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

cFileWatch::~cFileWatch()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool cFileWatch::add_directory(const std::string& dir, std::string& error)
{
    if (m_fd < 0) {
        error = std::string("inotify is not available: ") + std::strerror(errno);
        return false;
    }
    const int wd = inotify_add_watch(m_fd, dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
    if (wd < 0) {
        error = "cannot watch " + dir + ": " + std::strerror(errno);
        return false;
    }
    m_dirs[wd] = dir;
    return true;
}

std::vector<std::string> cFileWatch::changes()
{
    std::vector<std::string> out;
    if (m_fd < 0)
        return out;
    alignas(inotify_event) char buf[16384];
    for (;;) {
        const ssize_t n = read(m_fd, buf, sizeof buf);
        if (n <= 0)
            break;  // EAGAIN: nothing more for now
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            at += ssize_t(sizeof(inotify_event) + e->len);
            auto dir = m_dirs.find(e->wd);
            if (dir == m_dirs.end() || e->len == 0 || (e->mask & IN_ISDIR))
                continue;
            const std::string path = dir->second + "/" + e->name;
            if (std::find(out.begin(), out.end(), path) == out.end())
                out.push_back(path);
        }
    }
    return out;
}
