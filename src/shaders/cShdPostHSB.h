#pragma once
// Hue, saturation and brightness. Any parameter number takes three floats
// (hue in degrees, saturation and brightness in percent), stored as
// H = hue / -180 * pi (radians), S = 1 + saturation / 100 (factor),
// B = brightness / 100 (offset).
#include "shaders/cShader_CG.h"

class cShdPostHSB : public cShader_CG {
public:
    cShdPostHSB(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}
    // Degrees and percent, as callers give them, to what the program takes.
    static void from_degrees_and_percent(const float* in, float* out);

    float H = 0.f, S = 1.f, B = 0.f;  // set by every user before the first bind
    shrt::Parameter* h_H = nullptr;
    shrt::Parameter* h_S = nullptr;
    shrt::Parameter* h_B = nullptr;
};
