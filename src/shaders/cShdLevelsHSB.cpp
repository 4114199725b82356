#include "shaders/cShdLevelsHSB.h"

#include <iostream>

#include "shaders/cShdPostHSB.h"

cShdLevelsHSB::cShdLevelsHSB(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
    : cShdLevels(m, vp, fp, "cg_post_levels_vert.cg", "cg_post_levels_hsb_frag.cg")
{
    declare_values("cShdLevelsHSB",
                   {levels_input(), {2, {&H, &S, &B}, cShdPostHSB::from_degrees_and_percent}});
    // Loading ran the levels' init_parameters: this class was not made yet.
    init_parameters();
}

void cShdLevelsHSB::init_parameters()
{
    cShdLevels::init_parameters();
    h_H = shrt::named_parameter(fragment_program, "H_adjust");
    h_S = shrt::named_parameter(fragment_program, "S_adjust");
    h_B = shrt::named_parameter(fragment_program, "B_adjust");
    if (!h_H || !h_S || !h_B)
        std::cerr << "## ERROR: unable to get parameters in cShdLevelsHSB::init_parameters()" << std::endl;
}

void cShdLevelsHSB::upload_parameters()
{
    cShdLevels::upload_parameters();
    if (uploadable(h_H, 5))
        shrt::set_parameter_1f(h_H, H);
    if (uploadable(h_S, 6))
        shrt::set_parameter_1f(h_S, S);
    if (uploadable(h_B, 7))
        shrt::set_parameter_1f(h_B, B);
}
