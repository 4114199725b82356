#include "shaders/cShdMorphDtex.h"

#include <iostream>

cShdMorphDtex::cShdMorphDtex(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp) : cShader_CG(m, vp, fp)
{
    declare_values("cShdMorphDtex", {{ANY_VALUE_NUMBER, {&cur_t}}});
    load_from_files("../src/shaders/cg_morphDtex_vert.cg", "../src/shaders/cg_morphDtex_frag.cg");
}

void cShdMorphDtex::init_parameters()
{
    h_cur_t = shrt::named_parameter(vertex_program, "cur_t");
    // The report has always named this file and line 15.
    if (!h_cur_t)
        std::cerr << "## ERROR: unable to get shader-parameters in " << "cShdMorphDtex.cpp" << ", line " << 15
                  << std::endl;
}

void cShdMorphDtex::upload_parameters()
{
    if (uploadable(h_cur_t, 0))
        shrt::set_parameter_1f(h_cur_t, cur_t);
}
