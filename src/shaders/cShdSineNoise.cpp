#include "shaders/cShdSineNoise.h"

#include <algorithm>
#include <iostream>

cShdSineNoise::cShdSineNoise(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp) : cShader_CG(m, vp, fp)
{
    auto four = [](float* v) { return std::vector<float*>{v, v + 1, v + 2, v + 3}; };
    declare_values("cShdSineNoise", {{1, four(scales)},
                                     {2, {&curtime}},
                                     {3, four(phases)},
                                     {4, {&texheight}},
                                     {5, four(timescales)},
                                     {6, {&threshold}}});
    load_from_files("cg_post_sinenoise_vert.cg", "cg_post_sinenoise_frag.cg");
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
