#include "assets/mesh_builder.h"

#include <sys/stat.h>

#include <cmath>
#include <iostream>
#include <map>
#include <tuple>
#include <vector>

#include "mesh_files/bzobj_format.h"

MeshBuilder::MeshBuilder()
{
    mesh.m_type = MT_TEXCOORDS | MT_NORMALS;
}

uint32_t MeshBuilder::vertex(float x, float y, float z, float s, float t)
{
    const uint32_t i = uint32_t(mesh.vertex_count());
    mesh.positions.insert(mesh.positions.end(), {x, y, z});
    mesh.texcoords.insert(mesh.texcoords.end(), {s, t});
    return i;
}

void MeshBuilder::triangle(uint32_t a, uint32_t b, uint32_t c)
{
    mesh.indices.insert(mesh.indices.end(), {a, b, c});
}

uint32_t MeshBuilder::vertex(V3 p, V3 n, double s, double t)
{
    const V3 nn = normalize(n);
    for (double c : {p.x, p.y, p.z})
        mesh.positions.push_back(float(c));
    for (double c : {nn.x, nn.y, nn.z})
        mesh.normals.push_back(float(c));
    mesh.texcoords.push_back(float(s));
    mesh.texcoords.push_back(float(t));
    return uint32_t(mesh.positions.size() / 3 - 1);
}

void MeshBuilder::flat_triangle(V3 a, V3 b, V3 c, double s, double t)
{
    const V3 n = cross(b - a, c - a);
    triangle(vertex(a, n, s, t), vertex(b, n, s, t), vertex(c, n, s, t));
}

void MeshBuilder::quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    triangle(a, b, c);
    triangle(a, c, d);
}

void MeshBuilder::smooth_normals()
{
    const size_t n = mesh.vertex_count();
    std::vector<double> sum(3 * n, 0.0);
    const std::vector<float>& p = mesh.positions;
    for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const uint32_t a = mesh.indices[i], b = mesh.indices[i + 1], c = mesh.indices[i + 2];
        double u[3], v[3];
        for (int k = 0; k < 3; ++k) {
            u[k] = double(p[3 * b + k]) - p[3 * a + k];
            v[k] = double(p[3 * c + k]) - p[3 * a + k];
        }
        const double f[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        for (uint32_t idx : {a, b, c})
            for (int k = 0; k < 3; ++k)
                sum[3 * idx + k] += f[k];
    }
    // Vertices at one position share their sums.
    std::map<std::tuple<long, long, long>, std::vector<size_t>> at;
    for (size_t i = 0; i < n; ++i)
        at[std::make_tuple(std::lround(p[3 * i] * 1000.0), std::lround(p[3 * i + 1] * 1000.0),
                           std::lround(p[3 * i + 2] * 1000.0))]
            .push_back(i);
    mesh.normals.assign(3 * n, 0.f);
    for (const auto& entry : at) {
        double s[3] = {0, 0, 0};
        for (size_t i : entry.second)
            for (int k = 0; k < 3; ++k)
                s[k] += sum[3 * i + k];
        const double len = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
        for (size_t i : entry.second)
            for (int k = 0; k < 3; ++k)
                mesh.normals[3 * i + k] = len > 0 ? float(s[k] / len) : (k == 2 ? 1.f : 0.f);
    }
}

void MeshBuilder::flat_normal(float x, float y, float z)
{
    mesh.normals.clear();
    for (size_t i = 0; i < mesh.vertex_count(); ++i)
        mesh.normals.insert(mesh.normals.end(), {x, y, z});
}

void MeshBuilder::set_material(const cMaterial& m)
{
    mesh.materials.assign(1, m);
    mesh.set(MT_MATERIALS);
}

void MeshBuilder::use_material(unsigned m)
{
    // Triangles made before the first material change draw with the one in
    // effect since the start.
    if (mesh.groups.empty() && !mesh.indices.empty())
        mesh.groups.push_back({0, m_material});
    if (m == m_material && !mesh.groups.empty())
        return;
    m_material = m;
    const uint32_t first = uint32_t(mesh.indices.size());
    if (!mesh.groups.empty() && mesh.groups.back().first == first)
        mesh.groups.back().material = m;
    else
        mesh.groups.push_back({first, m});
}

namespace {
// Faceted meshes switch material every few triangles; drawn as built, each
// switch is a draw call of its own (hundreds per mesh). The triangles of one
// material are gathered into one group, in material order, keeping their
// order within it: the depth test makes the picture the same.
void gather_groups_by_material(cMeshObj_data& mesh)
{
    if (mesh.groups.size() < 2)
        return;
    std::map<unsigned, std::vector<uint32_t>> byMaterial;
    for (size_t g = 0; g < mesh.groups.size(); ++g) {
        const uint32_t first = mesh.groups[g].first;
        const uint32_t end = g + 1 < mesh.groups.size() ? mesh.groups[g + 1].first : uint32_t(mesh.indices.size());
        std::vector<uint32_t>& into = byMaterial[mesh.groups[g].material];
        into.insert(into.end(), mesh.indices.begin() + first, mesh.indices.begin() + end);
    }
    mesh.indices.clear();
    mesh.groups.clear();
    for (const auto& m : byMaterial) {
        if (m.second.empty())
            continue;
        mesh.groups.push_back({uint32_t(mesh.indices.size()), m.first});
        mesh.indices.insert(mesh.indices.end(), m.second.begin(), m.second.end());
    }
}
}  // namespace

bool MeshBuilder::write(const std::string& dataDir, const std::string& name, bool withTexcoords)
{
    cMeshData out;
    static_cast<cMeshObj_data&>(out) = mesh;
    out.set(MT_NORMALS);
    if (withTexcoords)
        out.set(MT_TEXCOORDS);
    else
        out.texcoords.clear();
    if (!out.materials.empty())
        out.set(MT_MATERIALS);
    if (out.groups.empty())
        out.groups.push_back({0, 0});
    gather_groups_by_material(out);
    out.groups.push_back({uint32_t(out.indices.size()), NO_MATERIAL});
    mkdir(dataDir.c_str(), 0755);
    const std::string dir = dataDir + "/models";
    mkdir(dir.c_str(), 0755);
    std::string error;
    if (!bzobj_write_file(out, out, dir + "/" + name, error)) {
        std::cerr << "## ERROR: cannot write " << dir << "/" << name << ": " << error << std::endl;
        return false;
    }
    return true;
}

bool MeshBuilder::write(const std::string& path, std::string& error)
{
    mesh.groups.clear();
    if (mesh.has(MT_MATERIALS))
        mesh.groups.push_back({0, 0});
    mesh.groups.push_back({uint32_t(mesh.indices.size()), NO_MATERIAL});
    if (!bzobj_write_file(mesh, mesh, path, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

cMaterial grey_material(const std::string& name, float grey, const std::string& map)
{
    cMaterial m(name);
    const float ka = grey * 0.35f;
    m.Ka[0] = m.Ka[1] = m.Ka[2] = ka;
    m.Kd[0] = m.Kd[1] = m.Kd[2] = grey;
    m.Ks[0] = m.Ks[1] = m.Ks[2] = 0.3f;
    m.Ka[3] = m.Kd[3] = m.Ks[3] = 1.f;
    m.Ns = 24.f;
    m.illum = 2;
    m.map_Kd = map;
    return m;
}

cMaterial grey_material(const std::string& name, float a, float d, float s, float ns)
{
    cMaterial m(name);
    for (int i = 0; i < 3; ++i) {
        m.Ka[i] = a;
        m.Kd[i] = d;
        m.Ks[i] = s;
    }
    m.Ka[3] = m.Kd[3] = m.Ks[3] = 1.f;
    m.Ns = ns;
    m.illum = 2;
    return m;
}
