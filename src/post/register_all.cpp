#include "post/register_all.h"

#include "post/post.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdMorphDtex.h"
#include "shaders/cShdSkyLevels.h"
#include "shaders/post_shaders.h"
#include "shaders/scene_shaders.h"

void register_all_shaders()
{
    ensure_post_shaders();
    ensure_comp_shaders();
    ensure_spill_shaders();
    ensure_shader<cShdResampleHalf>("half_resample_shader");
    ensure_shader<cShdHorzResampleQuater>("horz_quater_resample_shader");
    for (const char* name : {"rgba_shader", "rgbatex_shader"})
        ensure_shader<cShdRGBAtex>(name);
    ensure_shader<cShdOrviktex>("orvik_shader");
    ensure_shader<cShdSelfIllum>("self_illum_shader");
    ensure_shader<cShdMorphDtex>("morph_shader");
    ensure_shader<cShdSkyLevels>("sky_levels_shader");
}
