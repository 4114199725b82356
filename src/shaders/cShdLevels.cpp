#include "shaders/cShdLevels.h"

#include <iostream>

cShdLevels::cShdLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
    : cShdLevels(m, vp, fp, "cg_post_levels_vert.cg", "cg_post_levels_frag.cg")
{
}

cShdLevels::cShdLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* vertexFile,
                       const char* fragmentFile)
    : cShader_CG(m, vp, fp)
{
    declare_values("cShdLevels", {levels_input()});
    load_from_files(vertexFile, fragmentFile);
    inBlack = 200.f;
    inWhite = 255.f;
    Gamma = 1.f;
    outBlack = 0.f;
    outWhite = 255.f;
}

void cShdLevels::init_parameters()
{
    h_inBlack = shrt::named_parameter(fragment_program, "inBlack");
    h_inWhite = shrt::named_parameter(fragment_program, "inWhite");
    h_Gamma = shrt::named_parameter(fragment_program, "Gamma");
    h_outBlack = shrt::named_parameter(fragment_program, "outBlack");
    h_outWhite = shrt::named_parameter(fragment_program, "outWhite");
    if (!h_inBlack || !h_inWhite || !h_Gamma || !h_outBlack || !h_outWhite)
        std::cerr << "## ERROR: unable to get parameters in cShdLevels::init_parameters()" << std::endl;
}

void cShdLevels::upload_parameters()
{
    if (uploadable(h_inBlack, 0))
        shrt::set_parameter_1f(h_inBlack, inBlack);
    if (uploadable(h_inWhite, 1))
        shrt::set_parameter_1f(h_inWhite, inWhite);
    if (uploadable(h_Gamma, 2))
        shrt::set_parameter_1f(h_Gamma, Gamma);
    if (uploadable(h_outBlack, 3))
        shrt::set_parameter_1f(h_outBlack, outBlack);
    if (uploadable(h_outWhite, 4))
        shrt::set_parameter_1f(h_outWhite, outWhite);
}

cShaderInput cShdLevels::levels_input()
{
    return {1, {&inBlack, &inWhite, &Gamma, &outBlack, &outWhite}};
}
