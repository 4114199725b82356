#include "mesh_files/mesh_names.h"

std::string mesh_key(const std::string& name)
{
    size_t sep = name.find_last_of("\\/");
    return sep == std::string::npos ? name : name.substr(sep + 1);
}

std::string mesh_extension(const std::string& name)
{
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

eMeshFileKind mesh_file_kind(const std::string& name)
{
    // The extension never holds a dot, so ".obj" can only be the whole
    // dot-less name; it is accepted as the cache always has.
    std::string ext = mesh_extension(name);
    if (ext == "obj" || ext == ".obj")
        return eMeshFileKind::obj;
    if (ext == "bzobj" || ext == ".bzobj")
        return eMeshFileKind::bzobj;
    return eMeshFileKind::unknown;
}
