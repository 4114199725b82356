#pragma once
// Sine-based line displacement over the unit-0 image.
// Parameters: 1 scales[4], 2 curtime, 3 phases[4], 4 texheight,
// 5 timescales[4], 6 threshold.
#include "shaders/cShader_CG.h"

class cShdSineNoise : public cShader_CG {
public:
    cShdSineNoise(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    // The same values in another fragment program.
    cShdSineNoise(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* fragmentFile);
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

protected:
    // Values 1 to 6, for a derived program's own declaration.
    std::vector<cShaderInput> sine_inputs();
};


// The displacement of a picture dodged by its smeared rows (unit 1, first
// column) as it is read: the dodge and the displacement in one pass. The
// rows move with their line, so reading first and dodging after differs
// only where the dodge saturates between the two texels read.
class cShdSineNoiseDodge : public cShdSineNoise {
public:
    cShdSineNoiseDodge(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
        : cShdSineNoise(m, vp, fp, "cg_post_sinenoise_dodge_frag.cg")
    {
    }
};

// The displacement, then levels (parameter 7: the five levels floats, as
// cShdLevels), in one pass.
class cShdSineNoiseLevels : public cShdSineNoise {
public:
    cShdSineNoiseLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;

    float levels[5] = {0.f, 255.f, 1.f, 0.f, 255.f};
    shrt::Parameter* h_levels[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
};
