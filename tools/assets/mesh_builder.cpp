#include "assets/mesh_builder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>
#include <map>
#include <tuple>

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

bool make_directories(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
                std::cerr << "## ERROR: cannot create directory " << part << ": " << std::strerror(errno)
                          << std::endl;
                return false;
            }
        }
    return true;
}
