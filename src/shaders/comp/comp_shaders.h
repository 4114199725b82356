#pragma once
// The five composition shaders: the unit-0 image onto the unit-1 image,
// weighted by the quad colour's alpha.
#include "shaders/cShdNoParams.h"

WENDIT_NO_PARAM_SHADER(cShdCompOver, "cg_comp_over_vert.cg", "cg_comp_over_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdCompAdd, "cg_comp_add_vert.cg", "cg_comp_add_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdCompDodge, "cg_comp_dodge_vert.cg", "cg_comp_dodge_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdCompScreen, "cg_comp_screen_vert.cg", "cg_comp_screen_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdCompModulate, "cg_comp_modulate_vert.cg", "cg_comp_modulate_frag.cg");
