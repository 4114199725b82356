#pragma once
// Image-pass shaders without parameters: inversion, the glow's spill
// addition and the two colour dodges registered with it, and the two
// resampling shaders.
#include "shaders/cShdNoParams.h"

WENDIT_NO_PARAM_SHADER(cShdPostInvert, "cg_post_invert_vert.cg", "cg_post_invert_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdPostSpillAdd, "cg_post_spilladd_vert.cg", "cg_post_spilladd_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdPostColDodge, "cg_post_col_dodge_vert.cg", "cg_post_col_dodge_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdPostColDodgeMasked, "cg_post_col_dodge_masked_vert.cg",
                       "cg_post_col_dodge_masked_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdHorzResampleQuater, "cg_horz_resample_quater_vert.cg",
                       "cg_horz_resample_quater_frag.cg");
WENDIT_NO_PARAM_SHADER(cShdResampleHalf, "cg_resample_half_vert.cg", "cg_resample_half_frag.cg");
