// The compressed mesh format: decoding hand-built payloads, the checks that
// keep a damaged file from being read past its end, and the writer as the
// reader's inverse.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <fstream>

#include "mesh_files/bzobj_format.h"

namespace {

// Builds a payload byte by byte, independently of the writer.
struct Payload {
    std::vector<uint8_t> b;
    Payload& u8(uint8_t v) { return b.push_back(v), *this; }
    Payload& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    Payload& f(float v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        return u32(u);
    }
    Payload& str(const std::string& s) { return b.insert(b.end(), s.begin(), s.end()), *this; }
    Payload& header(uint8_t flags, uint32_t V, uint32_t T, int32_t M) { return u8(flags).u32(V).u32(T).u32(uint32_t(M)); }
    Payload& floats(size_t n, float start = 0)
    {
        for (size_t i = 0; i < n; ++i)
            f(start + float(i));
        return *this;
    }
    Payload& words(std::initializer_list<uint32_t> w)
    {
        for (uint32_t v : w)
            u32(v);
        return *this;
    }
    Payload& material(const std::string& name, const std::string& kd = "")
    {
        u8(uint8_t(name.size())).u8(0).u8(uint8_t(kd.size())).u8(0).u8(0).u8(0).str(name).str(kd);
        floats(12, 1).f(7).u32(2).f(0.5f).f(1.25f);
        return *this;
    }
};

std::vector<uint8_t> file_of(const std::vector<uint8_t>& payload)
{
    uLongf z = compressBound(uLong(payload.size()));
    std::vector<uint8_t> out(8 + z);
    EXPECT_EQ(compress(out.data() + 8, &z, payload.data(), uLong(payload.size())), Z_OK);
    out.resize(8 + z);
    uint32_t u = uint32_t(payload.size()), zz = uint32_t(z);
    std::memcpy(out.data(), &u, 4);
    std::memcpy(out.data() + 4, &zz, 4);
    return out;
}

std::string parse_error(const std::vector<uint8_t>& payload)
{
    cMeshData mesh;
    BzObjError e;
    EXPECT_FALSE(bzobj_parse_payload(payload.data(), payload.size(), mesh, mesh, e));
    EXPECT_EQ(e.kind, BzObjError::bad_data);
    return e.message;
}

cMeshData two_material_mesh()
{
    cMeshData m;
    m.m_type = MT_TEXCOORDS | MT_NORMALS | MT_MATERIALS;
    m.positions = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 5, 5, 5};
    m.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0};
    m.texcoords = {0, 0, 1, 0, 1, 1, 0, 1, 0.5f, 0.5f};
    m.indices = {4, 1, 2, 0, 2, 3, 3, 4, 0};
    m.groups = {{0, 0}, {3, 1}, {9, NO_MATERIAL}};
    m.materials = {cMaterial("red"), cMaterial("blue")};
    m.materials[0].Kd[0] = 1;
    m.materials[0].map_Kd = "red.png";
    m.materials[1].illum = 2;
    m.materials[1].bump = "b.png";
    return m;
}

}  // namespace

TEST(BzObj, IndexPlanesAreDeltaCoded)
{
    Payload p;
    p.header(0, 5, 3, 0).floats(15).words({0, 1, 2, 1, 1, 1, 2, 1, 1}).words({0, 0, 0});
    cMeshData mesh;
    BzObjError e;
    ASSERT_TRUE(bzobj_parse_payload(p.b.data(), p.b.size(), mesh, mesh, e)) << e.message;
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 1, 2, 3, 3, 3, 4}));
    // Flags 0: positions only.
    EXPECT_EQ(mesh.positions.size(), 15u);
    EXPECT_EQ(mesh.positions[14], 14.0f);
    EXPECT_TRUE(mesh.normals.empty());
    EXPECT_TRUE(mesh.texcoords.empty());
    // No marks: one group of material 0 and the sentinel.
    EXPECT_EQ(mesh.groups, (std::vector<MaterialGroup>{{0, 0}, {9, NO_MATERIAL}}));
}

TEST(BzObj, MarksStartGroupsThatTakeTheMaterialsInFileOrder)
{
    Payload p;
    p.header(MT_NORMALS | MT_TEXCOORDS, 1, 7, 3).floats(3).floats(3).floats(2);
    for (int k = 0; k < 3; ++k)
        p.words({0, 0, 0, 0, 0, 0, 0});
    p.words({5, 0, 1, 0, 0, 9, 0});  // the first triangle's mark is ignored
    p.material("a").material("b", "kd.png").material("");
    cMeshData mesh;
    BzObjError e;
    ASSERT_TRUE(bzobj_parse_payload(p.b.data(), p.b.size(), mesh, mesh, e)) << e.message;
    EXPECT_EQ(mesh.groups, (std::vector<MaterialGroup>{{0, 0}, {6, 1}, {15, 2}, {21, NO_MATERIAL}}));
    EXPECT_EQ(mesh.m_type, MT_NORMALS | MT_TEXCOORDS);
    EXPECT_EQ(mesh.normals.size(), 3u);
    EXPECT_EQ(mesh.texcoords.size(), 2u);
    ASSERT_EQ(mesh.materials.size(), 3u);
    const cMaterial& b = mesh.materials[1];
    EXPECT_EQ(b.name, "b");
    EXPECT_EQ(b.map_Kd, "kd.png");
    EXPECT_EQ(b.Ka[0], 1.0f);
    EXPECT_EQ(b.Ks[3], 12.0f);
    EXPECT_EQ(b.Ns, 7.0f);
    EXPECT_EQ(b.illum, 2);
    EXPECT_EQ(b.d, 0.5f);
    EXPECT_EQ(b.Ni, 1.25f);
    EXPECT_EQ(mesh.materials[2].name, "");  // all lengths 0
    EXPECT_EQ(mesh.materials[2].map_Kd, "");
}

TEST(BzObj, ANameEndsAtItsFirstZeroByte)
{
    Payload p;
    p.header(0, 0, 0, 1).material(std::string("ab\0cd", 5));
    cMeshData mesh;
    BzObjError e;
    ASSERT_TRUE(bzobj_parse_payload(p.b.data(), p.b.size(), mesh, mesh, e)) << e.message;
    EXPECT_EQ(mesh.materials[0].name, "ab");
    EXPECT_EQ(mesh.groups, (std::vector<MaterialGroup>{{0, 0}, {0, NO_MATERIAL}}));
}

TEST(BzObj, CountsAndLengthsAreCheckedAgainstThePayload)
{
    EXPECT_EQ(parse_error(Payload().u8(0).u32(1).b), "payload of 5 bytes is shorter than its 13-byte header");
    EXPECT_EQ(parse_error(Payload().header(0, 0x80000000u, 0, 0).b), "vertex count 2147483648 is not below 2^31");
    EXPECT_EQ(parse_error(Payload().header(0, 0, 0x80000000u, 0).b), "triangle count 2147483648 is not below 2^31");
    EXPECT_EQ(parse_error(Payload().header(0, 0, 0, -1).b), "material count -1 is negative");
    EXPECT_EQ(parse_error(Payload().header(MT_NORMALS, 2, 1, 0).floats(6).floats(5).words({0, 1, 1, 0}).b),
              "2 vertices and 1 triangles need 64 bytes, the payload has 60 after its header");
    EXPECT_EQ(parse_error(Payload().header(0, 1, 0, 1000000).floats(3).b),
              "1000000 materials need at least 70000000 bytes, the payload has 0 after the triangles");
    EXPECT_EQ(parse_error(Payload().header(0, 3, 2, 0).floats(9).words({0, 0, 1, 1, 2, 0x7FFFFFFF, 0, 0}).b),
              "triangle 1 refers to vertex 2147483649, the mesh has 3 vertices");
    // A wrapped delta is still a vertex past the end.
    EXPECT_EQ(parse_error(Payload().header(0, 3, 1, 0).floats(9).words({0xFFFFFFFF, 1, 2, 0}).b),
              "triangle 0 refers to vertex 4294967295, the mesh has 3 vertices");

    Payload name;
    name.header(0, 0, 0, 1).u8(128).u8(0).u8(0).u8(0).u8(0).u8(0).floats(16);
    name.floats(32);
    EXPECT_EQ(parse_error(name.b), "material record 0: name length 128 is over 127");
    EXPECT_EQ(parse_error(Payload().header(0, 0, 0, 2).floats(17).b),
              "2 materials need at least 140 bytes, the payload has 68 after the triangles");
    Payload shortStr;
    shortStr.header(0, 0, 0, 1).u8(0).u8(0).u8(0).u8(0).u8(0).u8(70).floats(16);
    EXPECT_EQ(parse_error(shortStr.b), "material record 0: map_d runs past the end of the payload");
    Payload shortVals;
    shortVals.header(0, 0, 0, 1).u8(0).u8(0).u8(0).u8(0).u8(0).u8(5).str("xxxxx").floats(15);
    EXPECT_EQ(parse_error(shortVals.b), "material record 0: its values run past the end of the payload");
}

TEST(BzObj, GroupsDrawnPerMaterialMustHaveTheirMaterials)
{
    Payload p;
    p.header(MT_MATERIALS, 3, 2, 1).floats(9).words({0, 0, 1, 0, 2, 0, 0, 1}).material("only");
    EXPECT_EQ(parse_error(p.b), "2 material groups name materials up to 1, the file has 1 materials");
    // Without per-material drawing the groups are not used, and not checked.
    p.b[0] = 0;
    cMeshData mesh;
    BzObjError e;
    EXPECT_TRUE(bzobj_parse_payload(p.b.data(), p.b.size(), mesh, mesh, e)) << e.message;
    EXPECT_EQ(mesh.group_count(), 2u);
}

TEST(BzObj, EveryTruncationOfAValidPayloadIsRejectedCleanly)
{
    std::vector<uint8_t> full;
    std::string why;
    cMeshData src = two_material_mesh();
    ASSERT_TRUE(bzobj_encode_payload(src, src, full, why)) << why;
    for (size_t n = 0; n < full.size(); ++n) {
        std::vector<uint8_t> part(full.begin(), full.begin() + long(n));  // exact size, so ASan sees overruns
        cMeshData mesh;
        BzObjError e;
        EXPECT_FALSE(bzobj_parse_payload(part.data(), part.size(), mesh, mesh, e)) << n;
    }
}

TEST(BzObj, TheFileHeaderIsCheckedBeforeInflating)
{
    auto decode_error = [](const std::vector<uint8_t>& f) {
        cMeshData mesh;
        BzObjError e;
        EXPECT_FALSE(bzobj_decode(f.data(), f.size(), mesh, mesh, e));
        return e;
    };
    EXPECT_EQ(decode_error({1, 2, 3}).message, "file of 3 bytes is shorter than its 8-byte header");
    std::vector<uint8_t> good = file_of(Payload().header(0, 0, 0, 0).b);
    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    EXPECT_EQ(decode_error(cut).message,
              "compressed size " + std::to_string(good.size() - 8) + " runs past the end of the file (" +
                  std::to_string(cut.size()) + " bytes)");
    std::vector<uint8_t> huge = good;
    huge[3] = 0x40;  // U about 1 GiB from a few bytes
    EXPECT_NE(decode_error(huge).message.find("cannot come from"), std::string::npos);
    std::vector<uint8_t> bigger = good;
    bigger[0] += 4;  // inflates to fewer bytes than the header says
    EXPECT_EQ(decode_error(bigger).message, "data inflated to 13 bytes, the header says 17");
    std::vector<uint8_t> smaller = good;
    smaller[0] -= 1;  // more data than room: zlib's own error
    BzObjError e = decode_error(smaller);
    EXPECT_EQ(e.kind, BzObjError::zlib);
    EXPECT_EQ(e.zlibCode, Z_BUF_ERROR);
    std::vector<uint8_t> corrupt = good;
    corrupt[8] ^= 0xFF;
    EXPECT_EQ(decode_error(corrupt).zlibCode, Z_DATA_ERROR);
}

TEST(BzObj, TheWriterIsTheReadersInverse)
{
    cMeshData src = two_material_mesh();
    std::vector<uint8_t> file;
    std::string why;
    ASSERT_TRUE(bzobj_encode(src, src, file, why)) << why;
    cMeshData back;
    BzObjError e;
    ASSERT_TRUE(bzobj_decode(file.data(), file.size(), back, back, e)) << e.message;
    EXPECT_EQ(back.m_type, src.m_type);
    EXPECT_EQ(back.positions, src.positions);
    EXPECT_EQ(back.normals, src.normals);
    EXPECT_EQ(back.texcoords, src.texcoords);
    EXPECT_EQ(back.indices, src.indices);
    EXPECT_EQ(back.groups, src.groups);
    EXPECT_EQ(back.materials, src.materials);
}

TEST(BzObj, TheWriterPutsMaterialsInGroupOrder)
{
    // Groups use materials 2 and 0 of three: the reader numbers materials by
    // group, so they are written 2, 0, then the unused 1.
    cMeshData src = two_material_mesh();
    src.materials.push_back(cMaterial("green"));
    src.groups = {{0, 2}, {3, 0}, {9, NO_MATERIAL}};
    std::vector<uint8_t> payload;
    std::string why;
    ASSERT_TRUE(bzobj_encode_payload(src, src, payload, why)) << why;
    cMeshData back;
    BzObjError e;
    ASSERT_TRUE(bzobj_parse_payload(payload.data(), payload.size(), back, back, e)) << e.message;
    ASSERT_EQ(back.materials.size(), 3u);
    EXPECT_EQ(back.materials[0].name, "green");
    EXPECT_EQ(back.materials[1].name, "red");
    EXPECT_EQ(back.materials[2].name, "blue");
    EXPECT_EQ(back.groups, (std::vector<MaterialGroup>{{0, 0}, {3, 1}, {9, NO_MATERIAL}}));
}

TEST(BzObj, TheWriterRefusesWhatTheFormatCannotHold)
{
    auto refuse = [](const cMeshData& m) {
        std::vector<uint8_t> out;
        std::string why;
        EXPECT_FALSE(bzobj_encode_payload(m, m, out, why));
        return why;
    };
    cMeshData m = two_material_mesh();
    m.normals.pop_back();
    EXPECT_EQ(refuse(m), "14 normal values for 5 vertices");
    m = two_material_mesh();
    m.indices[4] = 5;
    EXPECT_EQ(refuse(m), "index 4 refers to vertex 5, the mesh has 5");
    m = two_material_mesh();
    m.groups[1].material = 2;
    EXPECT_EQ(refuse(m), "material group 1 names material 2, the mesh has 2");
    m = two_material_mesh();
    m.materials[1].map_Ks = std::string(128, 'x');
    EXPECT_NE(refuse(m).find("is longer than 127 bytes"), std::string::npos);
    m = two_material_mesh();
    m.groups[1].first = 4;
    EXPECT_EQ(refuse(m), "material group 1 starts at index 4, not at a triangle in order");
}

TEST(BzObjDeathTest, TheShowStopsAtAFileItCannotRead)
{
    cMeshData mesh;
    EXPECT_EXIT(bobj_load_compressed(mesh, mesh, "/nonexistent/x.bzobj"), testing::ExitedWithCode(255),
                "# ERROR opening file /nonexistent/x.bzobj in bobj_load_compressed");

    std::vector<uint8_t> good = file_of(Payload().header(0, 0, 0, 0).b);
    std::string corrupt = testing::TempDir() + "corrupt.bzobj";
    good[8] ^= 0xFF;
    std::ofstream(corrupt, std::ios::binary).write(reinterpret_cast<const char*>(good.data()), long(good.size()));
    EXPECT_EXIT(bobj_load_compressed(mesh, mesh, corrupt), testing::ExitedWithCode(1),
                "# warning: zlib caused an error: -3");

    std::vector<uint8_t> bad = file_of(Payload().header(0, 9, 0, 0).b);
    std::string truncated = testing::TempDir() + "truncated.bzobj";
    std::ofstream(truncated, std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), long(bad.size()));
    EXPECT_EXIT(bobj_load_compressed(mesh, mesh, truncated), testing::ExitedWithCode(255),
                "# ERROR in bobj_load_compressed: .*truncated.bzobj: 9 vertices and 0 triangles need 108 bytes, "
                "the payload has 0 after its header");
}
