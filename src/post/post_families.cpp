// The pass families make sure of their shaders once per shader manager: the
// first pass of a family that runs finds them missing and registers them.
#include "post/post.h"

#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdBlurTex.h"
#include "shaders/cShdLevels.h"
#include "shaders/cShdLevelsHSB.h"
#include "shaders/cShdPostColorOffset.h"
#include "shaders/cShdPostHSB.h"
#include "shaders/cShdPostScroll.h"
#include "shaders/cShdRadialblur.h"
#include "shaders/cShdSineNoise.h"
#include "shaders/comp/cShdCompLayers.h"
#include "shaders/comp/comp_shaders.h"
#include "shaders/post_shaders.h"

void ensure_post_shaders()
{
    ensure_shader<cShdSineNoise>("sinenoise_shader");
    ensure_shader<cShdSineNoiseDodge>("sinenoise_dodge_shader");
    ensure_shader<cShdSineNoiseLevels>("sinenoise_levels_shader");
    ensure_shader<cShdRadialblur>("radialblur_shader");
    ensure_shader<cShdPostScroll>("scroll_shader");
    ensure_shader<cShdPostHSB>("hsb_shader");
    ensure_shader<cShdLevels>("levels_shader");
    ensure_shader<cShdLevelsHSB>("levels_hsb_shader");
    ensure_shader<cShdPostInvert>("invert_shader");
    ensure_shader<cShdPostColorOffset>("color_offset_shader");
    ensure_shader<cShdBlurTex>("alpha_blur_shader");
    ensure_shader<cShdBlurTexNoAlpha>("no_alpha_blur_shader");
}

void ensure_comp_shaders()
{
    ensure_shader<cShdCompOver>("blend_comp");
    ensure_shader<cShdCompAdd>("add_comp");
    ensure_shader<cShdCompDodge>("dodge_comp");
    ensure_shader<cShdCompScreen>("screen_comp");
    ensure_shader<cShdCompModulate>("modulate_comp");
    ensure_shader<cShdCompLayers<1>>("layers1_comp");
    ensure_shader<cShdCompLayers<2>>("layers2_comp");
    ensure_shader<cShdCompLayers<3>>("layers3_comp");
    ensure_shader<cShdCompLayers<4>>("layers4_comp");
}

void ensure_spill_shaders()
{
    ensure_shader<cShdPostSpillAdd>("spill_shader");
    ensure_shader<cShdPostColDodge>("coldodge_shader");
    ensure_shader<cShdPostColDodgeMasked>("coldodge_mask_shader");
}
