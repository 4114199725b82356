#pragma once
// The unit-0 image moved by parms (offset x, y in pixels; wrap width and
// height, none when 0). Parameter 1: four floats.
#include "shaders/cShader_CG.h"

class cShdPostScroll : public cShader_CG {
public:
    cShdPostScroll(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float parms[4] = {0, 0, 0, 0};  // set by every user before the first bind
    shrt::Parameter* h_parms = nullptr;
};
