#pragma once
// The resource search path: assets are named by bare file names and found
// in an ordered list of directories (each stored with a trailing "/").
//
// A name that exists as given (relative to the working directory) is used
// directly and returned as an absolute path; otherwise its file name alone
// is tried in each directory in order, and the first hit is returned as
// directory + file name.
#include <string>
#include <vector>

class cResourcePath {
public:
    void push_searchpath(const std::string& path);
    // The path under which name exists, or "".
    std::string get_fullpath(const std::string& name) const;
    // Why get_fullpath found nothing: the system's reason (e.g. "Permission
    // denied") for the first place where name is there or may be but cannot
    // be read, or "" when it is simply nowhere.
    std::string why_not_found(const std::string& name) const;
    const std::vector<std::string>& paths() const { return m_paths; }

private:
    std::vector<std::string> m_paths;
};

cResourcePath* get_resource_path();
void destroy_resource_path();
bool resource_path_exists();

// True when path names a file that can be opened for reading.
bool file_exists(const std::string& path);
// The last component after splitting at "/" and "\".
std::string base_name(const std::string& path);
// Removes "." components and "dir/.." pairs without touching the file
// system; leading ".." components stay. Paths longer than the platform's
// limit are reported through ok = false.
std::string canonical_path(const std::string& path, bool& ok);

// The six directories the show searches, pushed in order at start-up (the
// program's start-up starts the shader runtime after it).
void setup_resource_paths();
