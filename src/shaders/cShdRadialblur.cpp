#include "shaders/cShdRadialblur.h"

#include <iostream>

cShdRadialblur::cShdRadialblur(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp) : cShader_CG(m, vp, fp)
{
    set_defaults();
    declare_values("cShdRadialblur",
                   {{1, {&center[0], &center[1], &dist, &num_samples, &propagation, &multiplier}}});
    load_from_files("cg_post_radialblur_vert.cg", "cg_post_radialblur_frag.cg");
    set_defaults();
}

void cShdRadialblur::set_defaults()
{
    center[0] = 128.f;
    center[1] = 64.f;
    dist = 100.f;
    num_samples = 25.f;
    propagation = 1.f;
    multiplier = 0.85f;
}

void cShdRadialblur::init_parameters()
{
    h_center = shrt::named_parameter(fragment_program, "blur_center");
    h_dist = shrt::named_parameter(fragment_program, "dist");
    h_num_samples = shrt::named_parameter(fragment_program, "num_samples");
    h_propagation = shrt::named_parameter(fragment_program, "propagation");
    h_multiplier = shrt::named_parameter(fragment_program, "multiplier");
    if (!h_center || !h_dist || !h_num_samples || !h_propagation || !h_multiplier)
        std::cerr << "## ERROR: unable to get parameters in cSdhRadialblur::init_parameters()" << std::endl;
}

void cShdRadialblur::upload_parameters()
{
    if (uploadable(h_center, 0))
        shrt::set_parameter_2f(h_center, center[0], center[1]);
    if (uploadable(h_dist, 1))
        shrt::set_parameter_1f(h_dist, dist);
    if (uploadable(h_num_samples, 2))
        shrt::set_parameter_1f(h_num_samples, num_samples);
    if (uploadable(h_propagation, 3))
        shrt::set_parameter_1f(h_propagation, propagation);
    if (uploadable(h_multiplier, 4))
        shrt::set_parameter_1f(h_multiplier, multiplier);
}
