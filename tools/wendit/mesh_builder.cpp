#include "mesh_builder.h"

#include <sys/stat.h>

#include <iostream>
#include <map>
#include <vector>

#include "mesh_files/bzobj_format.h"

namespace middle_mesh {

void frame_around(V3 n, V3& u, V3& v)
{
    const V3 a = std::fabs(n.x) < 0.9 ? V3{1, 0, 0} : V3{0, 1, 0};
    u = normalize(cross(n, a));
    v = cross(n, u);
}

void MeshBuilder::use_material(unsigned m)
{
    if (m == m_material && !m_mesh.groups.empty())
        return;
    m_material = m;
    const uint32_t first = uint32_t(m_mesh.indices.size());
    if (!m_mesh.groups.empty() && m_mesh.groups.back().first == first)
        m_mesh.groups.back().material = m;
    else
        m_mesh.groups.push_back({first, m});
}

unsigned MeshBuilder::vertex(V3 p, V3 n, double s, double t)
{
    const V3 nn = normalize(n);
    for (double c : {p.x, p.y, p.z})
        m_mesh.positions.push_back(float(c));
    for (double c : {nn.x, nn.y, nn.z})
        m_mesh.normals.push_back(float(c));
    m_mesh.texcoords.push_back(float(s));
    m_mesh.texcoords.push_back(float(t));
    return unsigned(m_mesh.positions.size() / 3 - 1);
}

void MeshBuilder::triangle(unsigned a, unsigned b, unsigned c)
{
    if (m_mesh.groups.empty())
        use_material(m_material);
    m_mesh.indices.insert(m_mesh.indices.end(), {a, b, c});
}

void MeshBuilder::flat_triangle(V3 a, V3 b, V3 c, double s, double t)
{
    const V3 n = cross(b - a, c - a);
    triangle(vertex(a, n, s, t), vertex(b, n, s, t), vertex(c, n, s, t));
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
    static_cast<cMeshObj_data&>(out) = m_mesh;
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

}  // namespace middle_mesh
