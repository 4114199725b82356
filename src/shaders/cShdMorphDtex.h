#pragma once
// Mesh morphing: position and normal blended by cur_t between the base
// vertex and the streams on texture-coordinate units 3 and 4. Any
// parameter number takes one float, cur_t (a vertex-program parameter).
#include "shaders/cShader_CG.h"

class cShdMorphDtex : public cShader_CG {
public:
    cShdMorphDtex(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float cur_t = 0.f;  // set by every user before the first bind
    shrt::Parameter* h_cur_t = nullptr;
};
