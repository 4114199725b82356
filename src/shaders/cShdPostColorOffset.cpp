#include "shaders/cShdPostColorOffset.h"

#include <iostream>

cShdPostColorOffset::cShdPostColorOffset(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
    : cShader_CG(m, vp, fp)
{
    offsetScale = 1.f;
    declare_values("cShdPostColorOffset", {{1, {&offsetScale}}});
    load_from_files("cg_post_color_offsets_vert.cg", "cg_post_color_offsets_frag.cg");
}

void cShdPostColorOffset::init_parameters()
{
    h_offsetScale = shrt::named_parameter(fragment_program, "offsetScale");
    if (!h_offsetScale)
        std::cerr << "## ERROR: unable to get parameters in cShdPostColorOffset::init_parameters()" << std::endl;
}

void cShdPostColorOffset::upload_parameters()
{
    if (uploadable(h_offsetScale, 0))
        shrt::set_parameter_1f(h_offsetScale, offsetScale);
}
