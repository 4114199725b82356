#pragma once
// The values of one material as a material library or a compressed mesh file
// gives them: colours, shininess, illumination model, dissolve, refraction
// index and texture-map file names. The GL side (textures, fixed-function
// material state) builds on this record; nothing here needs a GL context.
#include <string>

class cMaterial {
public:
    std::string name;
    std::string map_Ka;  // ambient texture
    std::string map_Kd;  // diffuse texture
    std::string map_Ks;  // specular texture
    std::string bump;    // bump map: named, never loaded
    std::string map_d;   // alpha texture, the diffuse texture when map_Kd is empty
    float emission[4] = {0, 0, 0, 0};  // no material-library keyword sets it
    float Ka[4] = {0, 0, 0, 0};
    float Kd[4] = {0, 0, 0, 0};
    float Ks[4] = {0, 0, 0, 0};
    float Ns = 0.0f;
    int illum = 0;
    float d = 1.0f;   // dissolve: 1 is opaque
    float Ni = 1.0f;  // refraction index

    cMaterial() = default;
    explicit cMaterial(const std::string& n) : name(n) {}
    cMaterial(const cMaterial&) = default;
    cMaterial& operator=(const cMaterial&) = default;
    virtual ~cMaterial() = default;

    // Everything but the name.
    virtual cMaterial& copyValues(const cMaterial& other);

    // Field by field, the name included.
    bool operator==(const cMaterial& o) const;
    bool operator!=(const cMaterial& o) const { return !(*this == o); }
};
