#pragma once
// The space sphere's sky in one draw: its texture on unit 0 (modulated by
// the current colour), darkened by the vignette on unit 1 laid over the
// target, then levels. Parameter 1: the five levels floats (as
// cShdLevels); parameter 2: the target's width and height in pixels.
#include "shaders/cShdLevels.h"

class cShdSkyLevels : public cShdLevels {
public:
    cShdSkyLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;

    float size[2] = {1.f, 1.f};
    shrt::Parameter* h_size = nullptr;
};
