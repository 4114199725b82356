// Every shader class of the catalogue compiles from its sources, finds all
// its parameters and links into a program that runs.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <set>

#include "post/register_all.h"
#include "shaders/cShaderManager_CG.h"
#include "support/shader_setup.h"

TEST_F(GLTest, ShaderCatalogueCompilesFindsItsParametersAndLinks)
{
    cShaderManager_CG* sm = start_shaders();
    testing::internal::CaptureStderr();
    register_all_shaders();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("## ERROR"), std::string::npos) << err;
    EXPECT_EQ(err.find("Cg error"), std::string::npos) << err;

    const std::set<std::string> names = {
        "sinenoise_shader", "radialblur_shader", "scroll_shader", "hsb_shader", "levels_shader", "invert_shader",
        "color_offset_shader", "alpha_blur_shader", "no_alpha_blur_shader", "blend_comp", "add_comp", "dodge_comp",
        "screen_comp", "modulate_comp", "spill_shader", "coldodge_shader", "coldodge_mask_shader",
        "half_resample_shader", "horz_quater_resample_shader", "rgba_shader", "rgbatex_shader", "orvik_shader",
        "self_illum_shader", "morph_shader", "layers1_comp", "layers2_comp", "layers3_comp", "layers4_comp",
        "sky_levels_shader", "sinenoise_dodge_shader", "sinenoise_levels_shader", "levels_hsb_shader"};
    std::set<std::string> registered;
    for (const auto& entry : sm->shaders)
        registered.insert(entry.first);
    EXPECT_EQ(registered, names);

    testing::internal::CaptureStderr();
    for (const std::string& name : names) {
        sm->bind(name);
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        EXPECT_NE(program, 0) << name;
    }
    sm->unbind();
    err = testing::internal::GetCapturedStderr();
    // Shaders whose users set every value before the first bind may report
    // nothing else either: the runtime found every parameter they upload.
    EXPECT_EQ(err, "");
}
