#pragma once
// Small geometry and a deterministic random source for the asset bakers
// that build their meshes and pictures from vectors in double precision.
#include <cmath>

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
inline void frame_around(V3 n, V3& u, V3& v)
{
    const V3 a = std::fabs(n.x) < 0.9 ? V3{1, 0, 0} : V3{0, 1, 0};
    u = normalize(cross(n, a));
    v = cross(n, u);
}

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
