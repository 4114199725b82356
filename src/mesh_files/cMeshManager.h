#pragma once
// The mesh cache: every mesh the show draws, loaded once by file name and
// kept for the rest of the run.
//
// Meshes are cached by the last component of their name ("a/b/x.obj" and
// "c\\x.obj" are one mesh). The loader follows the extension, compared
// case-sensitively: "obj" and "bzobj". The cache owns the meshes and never
// deletes them; they live until the process ends.
#include <map>
#include <string>

class iMesh;

class cMeshManager {
public:
    static cMeshManager* instance();

    // The cached mesh of name's key; the first request loads it, drops its
    // materials when ignoreMaterials is set (later requests cannot change
    // that) and uploads it. A name whose extension no loader handles is
    // reported on the error stream and gives nullptr; nothing is cached.
    iMesh* getMesh(const std::string& name, bool ignoreMaterials);

    // Like getMesh, but a name that gives no mesh ends the process (exit
    // code -1) after a message naming it and who asked.
    iMesh* requireMesh(const std::string& name, bool ignoreMaterials, const std::string& caller);

    size_t size() const { return m_meshes.size(); }
    bool cached(const std::string& key) const { return m_meshes.count(key) != 0; }

private:
    cMeshManager() = default;
    std::map<std::string, iMesh*> m_meshes;
};
