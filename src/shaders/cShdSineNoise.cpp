#include "shaders/cShdSineNoise.h"

#include <algorithm>
#include <iostream>

cShdSineNoise::cShdSineNoise(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
    : cShdSineNoise(m, vp, fp, "cg_post_sinenoise_frag.cg")
{
}

cShdSineNoise::cShdSineNoise(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* fragmentFile)
    : cShader_CG(m, vp, fp)
{
    declare_values("cShdSineNoise", sine_inputs());
    load_from_files("cg_post_sinenoise_vert.cg", fragmentFile);
}

std::vector<cShaderInput> cShdSineNoise::sine_inputs()
{
    auto four = [](float* v) { return std::vector<float*>{v, v + 1, v + 2, v + 3}; };
    return {{1, four(scales)}, {2, {&curtime}},        {3, four(phases)},
            {4, {&texheight}}, {5, four(timescales)}, {6, {&threshold}}};
}

void cShdSineNoise::init_parameters()
{
    h_scales = shrt::named_parameter(fragment_program, "scales");
    h_phases = shrt::named_parameter(fragment_program, "phases");
    h_curtime = shrt::named_parameter(fragment_program, "curtime");
    h_texheight = shrt::named_parameter(fragment_program, "texheight");
    h_timescales = shrt::named_parameter(fragment_program, "timescales");
    h_threshold = shrt::named_parameter(fragment_program, "threshold");
    if (!h_scales || !h_phases || !h_curtime || !h_texheight || !h_timescales || !h_threshold)
        std::cerr << "## ERROR: unable to get parameters in cShdSineNoise::init_parameters()" << std::endl;
}

void cShdSineNoise::upload_parameters()
{
    if (uploadable(h_scales, 0))
        shrt::set_parameter_4fv(h_scales, scales);
    if (uploadable(h_phases, 1))
        shrt::set_parameter_4fv(h_phases, phases);
    if (uploadable(h_curtime, 2))
        shrt::set_parameter_1f(h_curtime, curtime);
    if (uploadable(h_texheight, 3))
        shrt::set_parameter_1f(h_texheight, texheight);
    if (uploadable(h_timescales, 4))
        shrt::set_parameter_4fv(h_timescales, timescales);
    if (uploadable(h_threshold, 5))
        shrt::set_parameter_1f(h_threshold, threshold);
}

cShdSineNoiseLevels::cShdSineNoiseLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
    : cShdSineNoise(m, vp, fp, "cg_post_sinenoise_levels_frag.cg")
{
    std::vector<cShaderInput> inputs = sine_inputs();
    inputs.push_back({7, {&levels[0], &levels[1], &levels[2], &levels[3], &levels[4]}});
    declare_values("cShdSineNoiseLevels", inputs);
    // Loading ran the displacement's init_parameters: this class was not
    // made yet.
    init_parameters();
}

void cShdSineNoiseLevels::init_parameters()
{
    cShdSineNoise::init_parameters();
    static const char* const NAMES[5] = {"inBlack", "inWhite", "Gamma", "outBlack", "outWhite"};
    bool all = true;
    for (int i = 0; i < 5; ++i) {
        h_levels[i] = shrt::named_parameter(fragment_program, NAMES[i]);
        all = all && h_levels[i];
    }
    if (!all)
        std::cerr << "## ERROR: unable to get parameters in cShdSineNoiseLevels::init_parameters()" << std::endl;
}

void cShdSineNoiseLevels::upload_parameters()
{
    cShdSineNoise::upload_parameters();
    for (int i = 0; i < 5; ++i)
        if (uploadable(h_levels[i], 6 + i))
            shrt::set_parameter_1f(h_levels[i], levels[i]);
}
