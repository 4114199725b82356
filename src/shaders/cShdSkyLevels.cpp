#include "shaders/cShdSkyLevels.h"

#include <iostream>

cShdSkyLevels::cShdSkyLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
    : cShdLevels(m, vp, fp, "cg_sky_levels_vert.cg", "cg_sky_levels_frag.cg")
{
    declare_values("cShdSkyLevels", {levels_input(), {2, {&size[0], &size[1]}}});
    // Loading ran the levels' init_parameters: this class was not made yet.
    init_parameters();
}

void cShdSkyLevels::init_parameters()
{
    cShdLevels::init_parameters();
    h_size = shrt::named_parameter(fragment_program, "targetSize");
    if (!h_size)
        std::cerr << "## ERROR: unable to get parameters in cShdSkyLevels::init_parameters()" << std::endl;
}

void cShdSkyLevels::upload_parameters()
{
    cShdLevels::upload_parameters();
    if (uploadable(h_size, 5))
        shrt::set_parameter_2fv(h_size, size);
}
