#include "shaders/cShdPostHSB.h"

#include <iostream>

void cShdPostHSB::from_degrees_and_percent(const float* in, float* out)
{
    const double pi = 3.14159265358979323846;
    out[0] = float(double(in[0]) / -180.0 * pi);
    out[1] = float(1.0 + double(in[1]) / 100.0);
    out[2] = float(double(in[2]) / 100.0);
}

cShdPostHSB::cShdPostHSB(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp) : cShader_CG(m, vp, fp)
{
    declare_values("cShdPostHSB", {{ANY_VALUE_NUMBER, {&H, &S, &B}, from_degrees_and_percent}});
    load_from_files("cg_post_hsb_vert.cg", "cg_post_hsb_frag.cg");
}

void cShdPostHSB::init_parameters()
{
    h_H = shrt::named_parameter(fragment_program, "H_adjust");
    h_S = shrt::named_parameter(fragment_program, "S_adjust");
    h_B = shrt::named_parameter(fragment_program, "B_adjust");
    if (!h_H || !h_S || !h_B)
        std::cerr << "## ERROR: unable to get parameters in " << "cShdPostHSB::init_parameters" << std::endl;
}

void cShdPostHSB::upload_parameters()
{
    if (uploadable(h_H, 0))
        shrt::set_parameter_1f(h_H, H);
    if (uploadable(h_S, 1))
        shrt::set_parameter_1f(h_S, S);
    if (uploadable(h_B, 2))
        shrt::set_parameter_1f(h_B, B);
}
