#include "shaders/cShdPostScroll.h"

#include <algorithm>
#include <iostream>

cShdPostScroll::cShdPostScroll(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp) : cShader_CG(m, vp, fp)
{
    declare_values("cShdPostScroll", {{1, {&parms[0], &parms[1], &parms[2], &parms[3]}}});
    load_from_files("cg_post_scroll_vert.cg", "cg_post_scroll_frag.cg");
}

void cShdPostScroll::init_parameters()
{
    h_parms = shrt::named_parameter(fragment_program, "parms");
    if (!h_parms)
        std::cerr << "## ERROR: unable to get parameters in cShdPostScroll::init_parameters()" << std::endl;
}

void cShdPostScroll::upload_parameters()
{
    if (uploadable(h_parms, 0))
        shrt::set_parameter_4fv(h_parms, parms);
}
