#include "util/file_bytes.h"

#include <cstdio>

bool read_file_bytes(const std::string& path, std::vector<char>& bytes)
{
    bytes.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok)
        bytes.clear();
    return ok;
}
