#pragma once
// Sine-based line displacement over the unit-0 image.
// Parameters: 1 scales[4], 2 curtime, 3 phases[4], 4 texheight,
// 5 timescales[4], 6 threshold.
#include "shaders/cShader_CG.h"

class cShdSineNoise : public cShader_CG {
public:
    cShdSineNoise(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float scales[4] = {1, 1, 1, 1};
    float phases[4] = {1, 1, 1, 1};
    float curtime = -1.f;
    float texheight = -1.f;
    float timescales[4] = {1, 1, 1, 1};
    float threshold = 0.f;
    shrt::Parameter* h_scales = nullptr;
    shrt::Parameter* h_phases = nullptr;
    shrt::Parameter* h_curtime = nullptr;
    shrt::Parameter* h_texheight = nullptr;
    shrt::Parameter* h_timescales = nullptr;
    shrt::Parameter* h_threshold = nullptr;
};
