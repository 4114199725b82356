#include "shaders/comp/cShdCompLayers.h"

#include <iostream>

cShdCompLayersBase::cShdCompLayersBase(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp,
                                       const char* fragmentFile)
    : cShader_CG(m, vp, fp)
{
    auto four = [](float* v) { return std::vector<float*>{v, v + 1, v + 2, v + 3}; };
    declare_values("cShdCompLayers", {{1, four(modes)}, {2, four(opacity)}, {3, {&spill}}});
    load_from_files("cg_comp_layers_vert.cg", fragmentFile);
}

void cShdCompLayersBase::init_parameters()
{
    h_modes = shrt::named_parameter(fragment_program, "modes");
    h_opacity = shrt::named_parameter(fragment_program, "opacity");
    h_spill = shrt::named_parameter(fragment_program, "spill");
    if (!h_modes || !h_opacity || !h_spill)
        std::cerr << "## ERROR: unable to get parameters in cShdCompLayers::init_parameters()" << std::endl;
}

void cShdCompLayersBase::upload_parameters()
{
    if (uploadable(h_modes, 0))
        shrt::set_parameter_4fv(h_modes, modes);
    if (uploadable(h_opacity, 1))
        shrt::set_parameter_4fv(h_opacity, opacity);
    if (uploadable(h_spill, 2))
        shrt::set_parameter_1f(h_spill, spill);
}
