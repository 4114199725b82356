#pragma once
// The OBJ reader: positions, texture coordinates, normals, polygonal faces
// and the material libraries they name, turned into an indexed triangle
// list sorted by material.
//
// The loader keeps the OBJ's own layout (four floats per position, separate
// index lists per face) until `convert`, which builds one mesh vertex per
// distinct (position, normal, texture coordinate) triple. Nothing here needs
// a GL context: the result is a cMeshObj_data and its materials.
//
// The parsing steps never end the process: they return false and leave the
// message in `error`. The show-facing steps (`load_file`, `smooth_normals`,
// `convert`, `load_mesh`) print that message and exit with code -1, as the
// show does for a mesh it cannot load.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "mesh_files/cMaterial.h"
#include "mesh_files/cMeshObj_data.h"
#include "mesh_files/iMeshType.h"

// Loader-only flag: a face of four or more vertices was read and is not yet
// cut into triangles.
const uint8_t MT_POLYGONS = 0x80;

class iMeshLoader {
public:
    virtual ~iMeshLoader() = default;
    virtual void load_file(const std::string& path) = 0;
    virtual void triangulate() = 0;
    virtual void smooth_normals() = 0;
};

// One OBJ face: 0-based indices into the loader's arrays. The texture and
// normal lists are either as long as the position list or empty.
struct ObjFace {
    std::vector<uint32_t> p, t, n;
    int material = -1;  // -1 before any usemtl
};

class iMeshLoader_data : public iMeshType {
public:
    std::vector<float> positions;  // x y z w per `v` line
    std::vector<float> normals;    // x y z per `vn` line
    std::vector<float> texcoords;  // s t per `vt` line
    std::vector<ObjFace> faces;
    std::vector<cMaterial> materials;  // from every mtllib, in order
};

class cObjLoader : public iMeshLoader, public iMeshLoader_data {
public:
    static const size_t MAX_LINE = 127;  // longer lines end the reading

    // Reads a whole file; false when it cannot be opened or read.
    using FileReader = std::function<bool(const std::string& path, std::vector<char>& bytes)>;

    explicit cObjLoader(std::ostream& log = std::cout, std::ostream& warn = std::cerr);

    // How mtllib files are read; tests and the fuzzer hand in their own.
    void set_file_reader(FileReader reader) { m_readFile = std::move(reader); }

    // --- steps that report failure to the caller
    // Parses the text of an OBJ file; `dir` is prefixed to mtllib names.
    bool parse(const char* data, size_t size, const std::string& dir, std::string& error);
    bool try_smooth_normals(std::string& error);
    bool try_convert(iMeshType& type, cMeshObj_data& mesh, std::string& error);

    // --- the show's steps: a failure prints its message and exits with -1
    void load_file(const std::string& path) override;
    void triangulate() override;
    void smooth_normals() override;
    void convert(iMeshType& type, cMeshObj_data& mesh);

    // parse, triangulate, convert: the whole load from bytes.
    bool load_bytes(const char* data, size_t size, const std::string& dir, iMeshType& type,
                    cMeshObj_data& mesh, std::string& error);
    // load_file, triangulate, convert: what the show does with an OBJ file.
    void load_mesh(const std::string& path, iMeshType& type, cMeshObj_data& mesh);

    // Lines accepted by the last parse, per kind.
    size_t position_lines() const { return m_vLines; }
    size_t texcoord_lines() const { return m_vtLines; }
    size_t normal_lines() const { return m_vnLines; }
    size_t face_lines() const { return m_fLines; }

private:
    bool parse_face(const std::vector<char*>& tok, size_t lineNo, std::string& error);
    void read_floats(const std::vector<char*>& tok, std::vector<float>& out, size_t want, size_t lineNo,
                     const char* what);
    void use_material(const char* name, size_t lineNo);
    void add_library(const char* name);

    std::ostream& m_log;
    std::ostream& m_warn;
    FileReader m_readFile;
    std::string m_dir;
    int m_material = -1;
    bool m_warnedUnknownMaterial = false;
    size_t m_vLines = 0, m_vtLines = 0, m_vnLines = 0, m_fLines = 0;
};
