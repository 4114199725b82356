#pragma once
// Three components laid out back to back, nothing between them, so a
// Vec3<float> can be handed to GL or a shader as a float[3].
#include <ostream>

template <typename T>
struct Vec3 {
    T x, y, z;
};

// Text form "(x,y,z)": no spaces, each component in the stream's default
// format.
template <typename T>
std::ostream& operator<<(std::ostream& os, const Vec3<T>& v)
{
    return os << '(' << v.x << ',' << v.y << ',' << v.z << ')';
}
