#include "texture/cResourcePath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {
cResourcePath* g_paths = nullptr;

// The longest path the show handles, as its original platform did.
constexpr size_t MAX_PATH_CHARS = 260;

void report(const char* where, const char* what, const std::string& name, const char* message)
{
    std::cerr << "fatal - oops in " << where << " on " << what << " \"" << name << "\": " << message
              << std::endl;
}
}  // namespace

std::string canonical_path(const std::string& path, bool& ok)
{
    ok = path.size() < MAX_PATH_CHARS;
    const bool absolute = !path.empty() && path[0] == '/';
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find_first_of("/\\", i);
        if (j == std::string::npos)
            j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out = absolute ? "/" : "";
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k)
            out += "/";
        out += parts[k];
    }
    const char last = path.empty() ? '\0' : path.back();
    if ((last == '/' || last == '\\') && !out.empty() && out.back() != '/')
        out += "/";
    if (out.empty())
        out = absolute ? "/" : ".";
    return out;
}

bool file_exists(const std::string& path)
{
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

std::string base_name(const std::string& path)
{
    size_t i = path.find_last_of("/\\");
    return i == std::string::npos ? path : path.substr(i + 1);
}

void cResourcePath::push_searchpath(const std::string& path)
{
    bool ok = true;
    std::string dir = canonical_path(path, ok);
    if (!ok)
        report("cResourcePath::push_searchpath", "path", path, std::strerror(ENAMETOOLONG));
    if (dir.empty() || (dir.back() != '/' && dir.back() != '\\'))
        dir += "/";
    m_paths.push_back(dir);
}

std::string cResourcePath::get_fullpath(const std::string& name) const
{
    if (file_exists(name)) {
        if (!name.empty() && name[0] == '/')
            return name;
        char cwd[PATH_MAX];
        if (!getcwd(cwd, sizeof cwd)) {
            report("cResourcePath::get_fullpath", "file", name, std::strerror(errno));
            return name;
        }
        bool ok = true;
        std::string full = canonical_path(std::string(cwd) + "/" + name, ok);
        if (!ok)
            report("cResourcePath::get_fullpath", "file", name, std::strerror(ENAMETOOLONG));
        return full;
    }
    const std::string file = base_name(name);
    if (file.empty())
        return "";
    for (const std::string& dir : m_paths) {
        std::string candidate = dir + file;
        if (file_exists(candidate))
            return candidate;
    }
    return "";
}

namespace {
// The system's reason path cannot be read, "" when it does not exist.
std::string unreadable_reason(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "" : std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return "";
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::strerror(errno);
    std::fclose(f);
    return "";
}
}  // namespace

std::string cResourcePath::why_not_found(const std::string& name) const
{
    std::string why = unreadable_reason(name);
    const std::string file = base_name(name);
    for (size_t i = 0; why.empty() && !file.empty() && i < m_paths.size(); ++i)
        why = unreadable_reason(m_paths[i] + file);
    return why;
}

cResourcePath* get_resource_path()
{
    if (!g_paths)
        g_paths = new cResourcePath();
    return g_paths;
}

void destroy_resource_path()
{
    delete g_paths;
    g_paths = nullptr;
}

bool resource_path_exists()
{
    return g_paths != nullptr;
}

void setup_resource_paths()
{
    cResourcePath* rp = get_resource_path();
    for (const char* dir : {"../src/shaders", "../src/shaders/comp", "../data", "../data/models", "../data/music",
                            "../data/textures"})
        rp->push_searchpath(dir);
}
