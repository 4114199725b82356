#pragma once
// The compressed mesh file (.bzobj): the meshes the show ships, baked
// offline from OBJ files.
//
// File: U (u32, payload size), Z (u32, compressed size), Z bytes of zlib
// stream inflating to exactly U bytes. Payload, little-endian, no padding:
//   flags (u8), V vertices (u32), T triangles (u32), M materials (i32),
//   positions 12·V, normals 12·V (flag 0x02), texture coordinates 8·V
//   (flag 0x01), three planes of T delta-coded corner indices (i32 each),
//   T material-change marks (i32; non-zero starts a new group at that
//   triangle, the first triangle's mark is ignored), M material records.
// Material record: six length bytes (0-127: name, map_Ka, map_Kd, map_Ks,
// bump, map_d), the six strings, Ka, Kd, Ks (4 floats each), Ns (float),
// illum (i32), d, Ni (floats). Group g draws with material g.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh_files/cMeshObj_data.h"
#include "mesh_files/iMeshType.h"

const size_t BZOBJ_HEADER = 8;          // U and Z
const size_t BZOBJ_PAYLOAD_HEADER = 13;  // flags, V, T, M
const size_t BZOBJ_MAX_NAME = 127;

// Why a compressed file could not be read.
struct BzObjError {
    enum eKind { none, zlib, bad_data } kind = none;
    int zlibCode = 0;     // with kind zlib
    std::string message;  // with kind bad_data: what was wrong, without the file name
};

// Parses an inflated payload into the mesh. Every count, length and section
// is checked against `size`; on failure the mesh is left partly filled.
bool bzobj_parse_payload(const uint8_t* data, size_t size, iMeshType& type, cMeshObj_data& mesh,
                         BzObjError& error);

// Parses a whole file held in memory: header, inflate, payload.
bool bzobj_decode(const uint8_t* data, size_t size, iMeshType& type, cMeshObj_data& mesh, BzObjError& error);

// What the show does with a compressed mesh file: a file that cannot be
// opened or does not add up ends the process with exit code -1, a zlib
// failure with exit code 1, each after a message on the error stream.
void bobj_load_compressed(iMeshType& type, cMeshObj_data& mesh, const std::string& path);

// The inverse of the reader: the payload, and the whole file. False, with
// the reason in `error`, for a mesh the format cannot hold (arrays of
// mismatched sizes, indices past the vertices, names over 127 bytes, groups
// naming materials the mesh does not have).
bool bzobj_encode_payload(const iMeshType& type, const cMeshObj_data& mesh, std::vector<uint8_t>& out,
                          std::string& error);
bool bzobj_encode(const iMeshType& type, const cMeshObj_data& mesh, std::vector<uint8_t>& out,
                  std::string& error);
bool bzobj_write_file(const iMeshType& type, const cMeshObj_data& mesh, const std::string& path,
                      std::string& error);
