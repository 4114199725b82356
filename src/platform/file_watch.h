#pragma once
// Notices files written in a set of directories (Linux inotify), without
// blocking: a tuning session polls it once per frame.
//
// A file counts as changed when a writer closes it or when it is moved or
// renamed into the directory (what editors that save through a temporary
// file do). Directories are not watched recursively.
#include <map>
#include <string>
#include <vector>

class cFileWatch {
public:
    cFileWatch();
    ~cFileWatch();
    cFileWatch(const cFileWatch&) = delete;
    cFileWatch& operator=(const cFileWatch&) = delete;

    bool ok() const { return m_fd >= 0; }
    // False with the system's reason in `error`.
    bool add_directory(const std::string& dir, std::string& error);
    // The files (directory + "/" + name) changed since the last call, each
    // once, in the order first noticed.
    std::vector<std::string> changes();

private:
    int m_fd = -1;
    std::map<int, std::string> m_dirs;  // watch descriptor -> directory
};
