// The pass families register their shaders once per shader manager: the
// first pass of a family that runs finds them missing and registers them.
#include "post/post.h"

#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdBlurTex.h"
#include "shaders/cShdLevels.h"
#include "shaders/cShdPostColorOffset.h"
#include "shaders/cShdPostHSB.h"
#include "shaders/cShdPostScroll.h"
#include "shaders/cShdRadialblur.h"
#include "shaders/cShdSineNoise.h"
#include "shaders/comp/comp_shaders.h"
#include "shaders/post_shaders.h"

void ensure_post_shaders()
{
    cShaderManager_CG* sm = get_shader_manager();
    if (sm->has_shader("sinenoise_shader"))
        return;
    register_shader<cShdSineNoise>("sinenoise_shader");
    register_shader<cShdRadialblur>("radialblur_shader");
    register_shader<cShdPostScroll>("scroll_shader");
    register_shader<cShdPostHSB>("hsb_shader");
    register_shader<cShdLevels>("levels_shader");
    register_shader<cShdPostInvert>("invert_shader");
    register_shader<cShdPostColorOffset>("color_offset_shader");
    register_shader<cShdBlurTex>("alpha_blur_shader");
    register_shader<cShdBlurTexNoAlpha>("no_alpha_blur_shader");
}

void ensure_comp_shaders()
{
    cShaderManager_CG* sm = get_shader_manager();
    if (sm->has_shader("blend_comp"))
        return;
    register_shader<cShdCompOver>("blend_comp");
    register_shader<cShdCompAdd>("add_comp");
    register_shader<cShdCompDodge>("dodge_comp");
    register_shader<cShdCompScreen>("screen_comp");
    register_shader<cShdCompModulate>("modulate_comp");
}

void ensure_spill_shaders()
{
    cShaderManager_CG* sm = get_shader_manager();
    if (sm->has_shader("spill_shader"))
        return;
    register_shader<cShdPostSpillAdd>("spill_shader");
    register_shader<cShdPostColDodge>("coldodge_shader");
    register_shader<cShdPostColDodgeMasked>("coldodge_mask_shader");
}
