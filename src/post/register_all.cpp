#include "post/register_all.h"

#include "post/post.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdMorphDtex.h"
#include "shaders/post_shaders.h"
#include "shaders/scene_shaders.h"

void register_all_shaders()
{
    ensure_post_shaders();
    ensure_comp_shaders();
    ensure_spill_shaders();
    cShaderManager_CG* sm = get_shader_manager();
    if (!sm->has_shader("half_resample_shader"))
        register_shader<cShdResampleHalf>("half_resample_shader");
    if (!sm->has_shader("horz_quater_resample_shader"))
        register_shader<cShdHorzResampleQuater>("horz_quater_resample_shader");
    for (const char* name : {"rgba_shader", "rgbatex_shader"})
        if (!sm->has_shader(name))
            register_shader<cShdRGBAtex>(name);
    if (!sm->has_shader("orvik_shader"))
        register_shader<cShdOrviktex>("orvik_shader");
    if (!sm->has_shader("self_illum_shader"))
        register_shader<cShdSelfIllum>("self_illum_shader");
    if (!sm->has_shader("morph_shader"))
        register_shader<cShdMorphDtex>("morph_shader");
}
