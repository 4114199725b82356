#pragma once
// Building baked meshes in code: vertices with normals and texture
// coordinates, triangles grouped by material, written as a compressed mesh
// file under DATA/models/.
#include <cmath>
#include <string>
#include <vector>

#include "mesh_files/cMeshObj_data.h"

// In a namespace of its own: the asset bakers have a MeshBuilder too, and
// both end up in the same program.
namespace middle_mesh {

struct V3 {
    double x, y, z;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline V3 normalize(V3 a)
{
    const double l = std::sqrt(dot(a, a));
    return l > 0 ? a * (1.0 / l) : V3{0, 0, 1};
}
// Two unit vectors completing a right-handed frame around unit n.
void frame_around(V3 n, V3& u, V3& v);

// A deterministic source of numbers in [0, 1) for the bakers.
class BakeRandom {
public:
    explicit BakeRandom(unsigned seed) : m_state(seed * 2654435761u + 1u) {}
    double next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return double(m_state >> 8) / double(1u << 24);
    }
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    unsigned m_state;
};

class MeshBuilder {
public:
    // Later triangles draw with material m (an index into materials()).
    void use_material(unsigned m);
    unsigned vertex(V3 p, V3 n, double s = 0, double t = 0);
    void triangle(unsigned a, unsigned b, unsigned c);
    // A flat-shaded triangle (own vertices, face normal).
    void flat_triangle(V3 a, V3 b, V3 c, double s = 0, double t = 0);
    size_t triangle_count() const { return m_mesh.indices.size() / 3; }

    std::vector<cMaterial>& materials() { return m_mesh.materials; }
    // Writes DATA/models/name; false after a message on failure.
    bool write(const std::string& dataDir, const std::string& name, bool withTexcoords);

private:
    cMeshData m_mesh;
    unsigned m_material = 0;
};

// A grey material: ambient a, diffuse d, specular s with shininess ns.
cMaterial grey_material(const std::string& name, float a, float d, float s, float ns);

}  // namespace middle_mesh
using namespace middle_mesh;
