#include "offline/partial_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

cPartialFile::~cPartialFile()
{
    release();
}

void cPartialFile::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool cPartialFile::claim(const std::string& path, std::ostream& note, std::string& error)
{
    release();
    bool stale = false;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) {
        stale = true;
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    // The lock goes with the file when it is renamed and with the process
    // when it dies, however it dies: a .part nobody holds is stale.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        error = err == EWOULDBLOCK ? "another capture is writing " + path + " now; give this one another name"
                                   : "cannot lock " + path + ": " + std::strerror(err);
        return false;
    }
    if (stale) {
        note << "wendit capture: found a stale partial file " << path
             << " (left by a capture that did not finish); replacing it" << std::endl;
        if (::ftruncate(fd, 0) != 0) {
            error = "cannot empty " + path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
    }
    m_fd = fd;
    return true;
}
