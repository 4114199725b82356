#pragma once
// Scene shading with light 0 and the material colours, textured on unit 0.
// cShdRGBAtex is registered twice ("rgba_shader", "rgbatex_shader"), which
// gives two independent objects.
#include "shaders/cShdNoParams.h"

WENDIT_NO_PARAM_SHADER(cShdRGBAtex, "cg_RGBAtex_vert.cg", "cg_RGBAtex_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdOrviktex, "cg_orviktex_vert.cg", "cg_orviktex_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdSelfIllum, "cg_selfillum_vert.cg", "cg_selfillum_frag.cg");
