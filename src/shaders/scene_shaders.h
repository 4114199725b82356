#pragma once
// Scene shading textured on unit 0: with lighting on, light 0 and the
// material colours; with lighting off, the current colour.
// cShdRGBAtex is registered twice ("rgba_shader", "rgbatex_shader"), which
// gives two independent objects.
#include "shaders/cShdLightSwitched.h"
#include "shaders/cShdNoParams.h"

WENDIT_LIGHT_SWITCHED_SHADER(cShdRGBAtex, "cg_RGBAtex_vert.cg", "cg_RGBAtex_frag.cg", false);
WENDIT_LIGHT_SWITCHED_SHADER(cShdOrviktex, "cg_orviktex_vert.cg", "cg_orviktex_frag.cg", true);
WENDIT_NO_PARAM_SHADER(cShdSelfIllum, "cg_selfillum_vert.cg", "cg_selfillum_frag.cg");
