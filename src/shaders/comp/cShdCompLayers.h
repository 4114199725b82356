#pragma once
// Up to four layers composed in one pass: layer i on texture unit i, each
// onto the picture beneath it in its mode (eCompMode, or -1 for a picture
// taken as it is, to go on from an earlier pass) and at its opacity.
// The glow on unit 4 is added to the result when the spill is 1.
// Value 1: four modes; value 2: four opacities; value 3: the spill.
#include "shaders/cShader_CG.h"

class cShdCompLayersBase : public cShader_CG {
public:
    cShdCompLayersBase(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* fragmentFile);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float modes[4] = {0, 0, 0, 0};
    float opacity[4] = {0, 0, 0, 0};
    float spill = 0.f;
    shrt::Parameter* h_modes = nullptr;
    shrt::Parameter* h_opacity = nullptr;
    shrt::Parameter* h_spill = nullptr;
};

// The program for `N` layers (1 to 4): each reads only its own units.
template <int N>
class cShdCompLayers : public cShdCompLayersBase {
public:
    static_assert(N >= 1 && N <= 4, "one to four layers a pass");
    cShdCompLayers(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
        : cShdCompLayersBase(m, vp, fp, file())
    {
    }

private:
    static const char* file()
    {
        static const char* const files[4] = {"cg_comp_layers1_frag.cg", "cg_comp_layers2_frag.cg",
                                             "cg_comp_layers3_frag.cg", "cg_comp_layers4_frag.cg"};
        return files[N - 1];
    }
};
