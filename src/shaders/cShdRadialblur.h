#pragma once
// Radial blur of the unit-0 image. Parameter 1: six floats, centre x and y
// (pixels), dist, num_samples, propagation, multiplier.
#include "shaders/cShader_CG.h"

class cShdRadialblur : public cShader_CG {
public:
    cShdRadialblur(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    void set_defaults();

    float center[2] = {128.f, 64.f};
    float dist = 100.f;
    float num_samples = 25.f;
    float propagation = 1.f;
    float multiplier = 0.85f;
    shrt::Parameter* h_center = nullptr;
    shrt::Parameter* h_dist = nullptr;
    shrt::Parameter* h_num_samples = nullptr;
    shrt::Parameter* h_propagation = nullptr;
    shrt::Parameter* h_multiplier = nullptr;
};
