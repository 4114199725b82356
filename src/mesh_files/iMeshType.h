#pragma once
// The flag byte every mesh carries. The OBJ loader uses the same byte while
// it reads (with a bit of its own, 0x80) and the compressed mesh file stores
// it verbatim, so the values are fixed.
#include <cstdint>

enum eMeshTypeFlag : uint8_t {
    MT_TEXCOORDS = 0x01,  // two texture coordinates per vertex
    MT_NORMALS = 0x02,    // three normal components per vertex
    MT_MATERIALS = 0x10,  // drawn per material group, applying a material before each
};

class iMeshType {
public:
    uint8_t m_type = 0;  // a new mesh starts with all bits clear

    bool has(uint8_t flag) const { return (m_type & flag) != 0; }
    void set(uint8_t flag) { m_type = uint8_t(m_type | flag); }
    void clear(uint8_t flag) { m_type = uint8_t(m_type & ~flag); }
};
