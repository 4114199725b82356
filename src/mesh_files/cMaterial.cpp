#include "mesh_files/cMaterial.h"

#include <algorithm>

cMaterial& cMaterial::copyValues(const cMaterial& other)
{
    std::string keep = name;
    *this = other;
    name = keep;
    return *this;
}

bool cMaterial::operator==(const cMaterial& o) const
{
    auto same4 = [](const float* a, const float* b) { return std::equal(a, a + 4, b); };
    return name == o.name && map_Ka == o.map_Ka && map_Kd == o.map_Kd && map_Ks == o.map_Ks &&
           bump == o.bump && map_d == o.map_d && same4(emission, o.emission) && same4(Ka, o.Ka) &&
           same4(Kd, o.Kd) && same4(Ks, o.Ks) && Ns == o.Ns && illum == o.illum && d == o.d && Ni == o.Ni;
}
