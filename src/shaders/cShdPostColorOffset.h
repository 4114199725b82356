#pragma once
// Colour channels pulled apart sideways, scaled by offsetScale
// (parameter 1, one float; 1.0 before the first set).
#include "shaders/cShader_CG.h"

class cShdPostColorOffset : public cShader_CG {
public:
    cShdPostColorOffset(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float offsetScale = 1.f;
    shrt::Parameter* h_offsetScale = nullptr;
};
