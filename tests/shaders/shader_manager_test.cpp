// The shader manager over the GLSL runtime: start-up lines, registration,
// binding by name, the shader stack, parameters and their failures.
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "gl/gl_extensions.h"
#include "shader_runtime/shader_runtime.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdLevels.h"
#include "shaders/cShdPostColorOffset.h"
#include "shaders/cShdPostHSB.h"
#include "shaders/cShdRadialblur.h"
#include "shaders/post_shaders.h"
#include "shaders/scene_shaders.h"
#include "support/shader_setup.h"
#include "texture/cResourcePath.h"
#include "tweak/iVar.h"

namespace {
class ShaderManager : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sm = start_shaders();
    }
    cShaderManager_CG* sm = nullptr;
};

GLint current_program()
{
    GLint p = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &p);
    return p;
}

bool contains(const std::string& s, const std::string& part)
{
    return s.find(part) != std::string::npos;
}

int count_of(const std::string& s, const std::string& part)
{
    int n = 0;
    for (size_t at = s.find(part); at != std::string::npos; at = s.find(part, at + 1))
        ++n;
    return n;
}

bool yes(shrt::Profile)
{
    return true;
}
bool vertex_only(shrt::Profile p)
{
    return p == shrt::CG_PROFILE_ARBVP1;
}
bool none(shrt::Profile)
{
    return false;
}

// A class of the test's own, from files it writes: one parameter that the
// source has and one that it lacks.
const char* const PASS_VERT = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
const char* const ONE_UNIFORM_FRAG =
    "#version 120\nuniform float level;\nvoid main() { gl_FragColor = vec4(level); }\n";
const char* const BROKEN_FRAG = "#version 120\nvoid main() { gl_FragColor = vec4(1.0) }\n";

class cShdMissing : public cShader_CG {
public:
    cShdMissing(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp) : cShader_CG(m, vp, fp)
    {
        load_from_files("test_pass_vert.cg", "test_one_frag.cg");
    }
    void init_parameters() override
    {
        level = shrt::named_parameter(fragment_program, "level");
        missing = shrt::named_parameter(fragment_program, "nowhere");
    }
    void upload_parameters() override
    {
        if (uploadable(level, 0))
            shrt::set_parameter_1f(level, 0.5f);
        if (uploadable(missing, 1))
            shrt::set_parameter_1f(missing, 1.f);
    }
    void on_unbind() override {}
    shrt::Parameter* level = nullptr;
    shrt::Parameter* missing = nullptr;
};

class cShdBroken : public cShdNoParams {
public:
    cShdBroken(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
        : cShdNoParams(m, vp, fp, "test_pass_vert.cg", "test_broken_frag.cg")
    {
    }
};
}  // namespace

TEST(ShaderStartup, ProfileLinesAndTheirErrors)
{
    shrt::Profile vp = shrt::PROFILE_UNKNOWN, fp = shrt::PROFILE_UNKNOWN;
    std::ostringstream ok, noFragment, noVertex;
    EXPECT_TRUE(cShaderManager_CG::choose_profiles(yes, vp, fp, ok));
    EXPECT_EQ(ok.str(),
              "# Cg: Chose cg vertex-profile:\tCG_PROFILE_ARBVP1\n"
              "# Cg: Chose cg fragment-profile:\tCG_PROFILE_ARBFP1\n");
    EXPECT_EQ(vp, 6150);
    EXPECT_EQ(fp, 7000);
    EXPECT_FALSE(cShaderManager_CG::choose_profiles(vertex_only, vp, fp, noFragment));
    EXPECT_EQ(noFragment.str(),
              "# Cg: Chose cg vertex-profile:\tCG_PROFILE_ARBVP1\n"
              "## ERROR while initializing Cg: insufficient fragment programming capabilities detected - exiting!\n");
    EXPECT_FALSE(cShaderManager_CG::choose_profiles(none, vp, fp, noVertex));
    EXPECT_EQ(noVertex.str(),
              "## ERROR while initializing Cg: insufficient vertex-programming capabilities detected - exiting\n");
}

TEST_F(GLTest, ShaderManagerStartsWithTheVersionAndProfileLines)
{
    testing::internal::CaptureStdout();
    get_shader_manager()->init_cg();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "# Cg: Cg compiletime version: 2200\n"
              "# Cg: Chose cg vertex-profile:\tCG_PROFILE_ARBVP1\n"
              "# Cg: Chose cg fragment-profile:\tCG_PROFILE_ARBFP1\n");
    EXPECT_NE(get_shader_manager()->context, nullptr);
    EXPECT_EQ(get_shader_manager()->current, "null_shader");
}

TEST_F(ShaderManager, RegistersOnceAndReportsTheCompileOfEachFile)
{
    testing::internal::CaptureStderr();
    register_shader<cShdPostInvert>("invert_shader");
    const std::string first = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(contains(first, "cg_post_invert_vert.cg... loading... done.\n")) << first;
    EXPECT_TRUE(contains(first, "cg_post_invert_frag.cg... loading... done.\n")) << first;
    EXPECT_EQ(first.rfind("Cg compiling\t", 0), 0u) << first;
    cShader* made = sm->find("invert_shader");

    testing::internal::CaptureStderr();
    register_shader<cShdPostInvert>("invert_shader");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "# warning: shader \"invert_shader\" already exists! Skipping...\n");
    EXPECT_EQ(sm->shaders.size(), 1u);
    EXPECT_EQ(sm->find("invert_shader"), made);
}

TEST_F(ShaderManager, OneClassUnderTwoNamesGivesTwoIndependentShaders)
{
    testing::internal::CaptureStderr();
    register_shader<cShdRGBAtex>("rgba_shader");
    const int compiles = shrt::compile_count();
    register_shader<cShdRGBAtex>("rgbatex_shader");
    testing::internal::GetCapturedStderr();
    // Same files: nothing compiled again.
    EXPECT_EQ(shrt::compile_count(), compiles);

    auto* a = dynamic_cast<cShader_CG*>(sm->find("rgba_shader"));
    auto* b = dynamic_cast<cShader_CG*>(sm->find("rgbatex_shader"));
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_NE(a->vertex_program, b->vertex_program);
    EXPECT_NE(a->fragment_program, b->fragment_program);

    sm->bind("rgba_shader");
    EXPECT_EQ(shrt::bound_program(shrt::CG_PROFILE_ARBVP1), a->vertex_program);
    EXPECT_EQ(shrt::bound_program(shrt::CG_PROFILE_ARBFP1), a->fragment_program);
    EXPECT_NE(current_program(), 0);
    sm->bind("rgbatex_shader");
    EXPECT_EQ(shrt::bound_program(shrt::CG_PROFILE_ARBFP1), b->fragment_program);
    sm->unbind();
    EXPECT_EQ(current_program(), 0);
    EXPECT_EQ(shrt::bound_program(shrt::CG_PROFILE_ARBVP1), nullptr);
    EXPECT_FALSE(shrt::profile_enabled(shrt::CG_PROFILE_ARBFP1));
}

TEST_F(ShaderManager, BindingAnUnknownNameWarnsAndLeavesNothingBound)
{
    testing::internal::CaptureStderr();
    register_shader<cShdPostInvert>("invert_shader");
    testing::internal::GetCapturedStderr();
    sm->bind("invert_shader");
    testing::internal::CaptureStderr();
    sm->bind("no_such_shader");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "#WARNING in cShaderManager_CG::bind: trying to bind unknown shader: \"no_such_shader\"\n");
    EXPECT_EQ(sm->current, "null_shader");
    EXPECT_EQ(current_program(), 0);
    EXPECT_TRUE(shrt::profile_enabled(shrt::CG_PROFILE_ARBVP1));
    EXPECT_TRUE(shrt::profile_enabled(shrt::CG_PROFILE_ARBFP1));
}

TEST_F(ShaderManager, TheStackRestoresWhatWasBound)
{
    testing::internal::CaptureStderr();
    register_shader<cShdPostInvert>("invert_shader");
    register_shader<cShdResampleHalf>("half_resample_shader");
    testing::internal::GetCapturedStderr();

    // Unbound, pushed, bound, popped: unbound with both stages off.
    sm->push_shader();
    sm->bind("invert_shader");
    sm->pop_shader();
    EXPECT_EQ(sm->current, "null_shader");
    EXPECT_EQ(current_program(), 0);
    EXPECT_FALSE(shrt::profile_enabled(shrt::CG_PROFILE_ARBVP1));
    EXPECT_FALSE(shrt::profile_enabled(shrt::CG_PROFILE_ARBFP1));

    sm->bind("invert_shader");
    const GLint invert = current_program();
    sm->push_shader();
    sm->bind("half_resample_shader");
    EXPECT_NE(current_program(), invert);
    sm->pop_shader();
    EXPECT_EQ(sm->current, "invert_shader");
    EXPECT_EQ(current_program(), invert);
    EXPECT_TRUE(sm->shader_stack.empty());

    // Popping more than was pushed is reported and changes nothing.
    testing::internal::CaptureStderr();
    sm->pop_shader();
    EXPECT_TRUE(contains(testing::internal::GetCapturedStderr(), "## DEBUG-ERROR in cShaderManager_CG::pop_shader"));
    EXPECT_EQ(sm->current, "invert_shader");
}

TEST_F(ShaderManager, ParametersTakeTheirTypesAndConversions)
{
    testing::internal::CaptureStderr();
    register_shader<cShdLevels>("levels_shader");
    register_shader<cShdPostHSB>("hsb_shader");
    register_shader<cShdRadialblur>("radialblur_shader");
    register_shader<cShdPostInvert>("invert_shader");
    testing::internal::GetCapturedStderr();
    auto* levels = dynamic_cast<cShdLevels*>(sm->find("levels_shader"));
    auto* hsb = dynamic_cast<cShdPostHSB*>(sm->find("hsb_shader"));
    auto* radial = dynamic_cast<cShdRadialblur*>(sm->find("radialblur_shader"));
    ASSERT_TRUE(levels && hsb && radial);
    EXPECT_EQ(levels->inBlack, 200.f);

    float five[5] = {10, 20, 2, 30, 40};
    float* pointer = five;
    cVar<float*> fiveVar("levels", &pointer);
    sm->set_parameter("levels_shader", 2, &fiveVar);  // not a levels number
    EXPECT_EQ(levels->inBlack, 200.f);
    sm->set_parameter("levels_shader", 1, &fiveVar);
    EXPECT_EQ(levels->inBlack, 10.f);
    EXPECT_EQ(levels->inWhite, 20.f);
    EXPECT_EQ(levels->Gamma, 2.f);
    EXPECT_EQ(levels->outBlack, 30.f);
    EXPECT_EQ(levels->outWhite, 40.f);

    // Stored only while unbound; sent at the next bind.
    float got[4];
    EXPECT_FALSE(shrt::parameter_value(levels->h_inBlack, got));
    sm->bind("levels_shader");
    ASSERT_TRUE(shrt::parameter_value(levels->h_inBlack, got));
    EXPECT_EQ(got[0], 10.f);
    // While bound a new value is sent at once.
    five[0] = 5.f;
    sm->set_parameter("levels_shader", 1, &fiveVar);
    ASSERT_TRUE(shrt::parameter_value(levels->h_inBlack, got));
    EXPECT_EQ(got[0], 5.f);

    // A variable of the wrong type is ignored with a warning.
    float one = 99.f;
    cVar<float> oneVar("one", &one);
    testing::internal::CaptureStderr();
    sm->set_parameter("levels_shader", 1, &oneVar);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "## WARNING: cShdLevels::set_parameter(1): expected a cVar<float *> pointing at floats, value "
              "ignored\n");
    EXPECT_EQ(levels->inBlack, 5.f);

    float hsbValues[3] = {180, 0, 0};
    float* hsbPointer = hsbValues;
    cVar<float*> hsbVar("hsb", &hsbPointer);
    sm->set_parameter("hsb_shader", 7, &hsbVar);
    EXPECT_FLOAT_EQ(hsb->H, float(-M_PI));
    EXPECT_EQ(hsb->S, 1.f);
    EXPECT_EQ(hsb->B, 0.f);

    sm->bind("radialblur_shader");
    ASSERT_TRUE(shrt::parameter_value(radial->h_center, got));
    EXPECT_EQ(got[0], 128.f);
    EXPECT_EQ(got[1], 64.f);
    const std::pair<shrt::Parameter*, float> defaults[] = {
        {radial->h_dist, 100.f}, {radial->h_num_samples, 25.f}, {radial->h_propagation, 1.f}, {radial->h_multiplier, 0.85f}};
    for (const auto& d : defaults) {
        ASSERT_TRUE(shrt::parameter_value(d.first, got));
        EXPECT_EQ(got[0], d.second);
    }

    try {
        sm->set_parameter("invert_shader", 1, &oneVar);
        ADD_FAILURE() << "a shader without parameters accepted one";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "set_parameter not implemented for this shader");
    }
}

namespace {
// The value GL holds for a uniform of the program in use.
float uniform_in_use(const char* name)
{
    auto get = reinterpret_cast<PFNGLGETUNIFORMFVPROC>(SDL_GL_GetProcAddress("glGetUniformfv"));
    const GLint program = current_program();
    float v[4] = {-1.f, -1.f, -1.f, -1.f};
    get(GLuint(program), ext::glGetUniformLocation(GLuint(program), name), v);
    return v[0];
}
}  // namespace

TEST_F(ShaderManager, AShaderLinksWhenItLoadsAndAValueFoundOnceReachesItsProgram)
{
    testing::internal::CaptureStderr();
    register_shader<cShdLevels>("levels_shader");
    register_shader<cShdPostColorOffset>("color_offset_shader");
    testing::internal::GetCapturedStderr();
    const int linksAfterLoad = shrt::link_count();

    const cShaderValue levels = sm->value("levels_shader", 1);
    const cShaderValue offset = sm->value("color_offset_shader", 1);
    ASSERT_TRUE(levels && offset);
    EXPECT_EQ(levels.count(), 5);

    // Set while unbound: stored, sent when the shader binds; binding links
    // nothing more.
    const float five[5] = {10, 20, 2, 30, 40};
    levels.set(five);
    sm->bind("levels_shader");
    EXPECT_EQ(shrt::link_count(), linksAfterLoad);
    EXPECT_EQ(uniform_in_use("inBlack"), 10.f);
    EXPECT_EQ(uniform_in_use("outWhite"), 40.f);
    // Set while bound: in the program at once.
    const float again[5] = {1, 2, 3, 4, 5};
    levels.set(again);
    EXPECT_EQ(uniform_in_use("inBlack"), 1.f);
    EXPECT_EQ(uniform_in_use("Gamma"), 3.f);
    // Another shader's value does not touch the bound program.
    offset.set(7.f);
    EXPECT_EQ(uniform_in_use("inBlack"), 1.f);
    sm->bind("color_offset_shader");
    EXPECT_EQ(uniform_in_use("offsetScale"), 7.f);
    EXPECT_EQ(shrt::link_count(), linksAfterLoad);

    // One float for a value of five is refused; unknown names and numbers
    // give empty values that set nothing.
    testing::internal::CaptureStderr();
    levels.set(9.f);
    const cShaderValue unknown = sm->value("nowhere_shader", 1);
    const cShaderValue wrongNumber = sm->value("levels_shader", 2);
    unknown.set(1.f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "## WARNING: cShdLevels::set_parameter(1): expected 5 floats, value ignored\n"
              "#WARNING in cShaderManager_CG::value: unknown shader: \"nowhere_shader\"\n"
              "#WARNING in cShaderManager_CG::value: shader \"levels_shader\" takes no parameter 2\n");
    EXPECT_FALSE(unknown || wrongNumber);
    EXPECT_EQ(static_cast<cShdLevels*>(sm->find("levels_shader"))->inBlack, 1.f);
}

TEST_F(ShaderManager, AValueNamedWhereItIsUsedFollowsANewShaderManager)
{
    cShaderValueRef offset("color_offset_shader", 1);
    testing::internal::CaptureStderr();
    register_shader<cShdPostColorOffset>("color_offset_shader");
    testing::internal::GetCapturedStderr();
    offset.set(3.f);
    EXPECT_EQ(static_cast<cShdPostColorOffset*>(sm->find("color_offset_shader"))->offsetScale, 3.f);

    // The show's teardown and a new start (as between two tests): the value
    // is found again, in the new manager's shader.
    destroy_shader_manager();
    sm = start_shaders();
    testing::internal::CaptureStderr();
    register_shader<cShdPostColorOffset>("color_offset_shader");
    testing::internal::GetCapturedStderr();
    offset.set(4.f);
    EXPECT_EQ(static_cast<cShdPostColorOffset*>(sm->find("color_offset_shader"))->offsetScale, 4.f);
}

TEST_F(ShaderManager, AMissingParameterIsReportedOnceAndTheShowGoesOn)
{
    TempDir dir;
    dir.write("test_pass_vert.cg", PASS_VERT);
    dir.write("test_one_frag.cg", ONE_UNIFORM_FRAG);
    get_resource_path()->push_searchpath(dir.path);
    testing::internal::CaptureStderr();
    register_shader<cShdMissing>("missing");
    testing::internal::GetCapturedStderr();

    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 3; ++frame) {
        sm->bind("missing");
        sm->unbind();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(count_of(err, "Cg error, exiting..."), 1) << err;
    EXPECT_TRUE(contains(err, "\n---------------------------------------------------\ninvalid parameter handle\n"))
        << err;
    EXPECT_TRUE(contains(err, "---------------------------------------------------\nlast-shader: missing\n")) << err;

    sm->bind("missing");
    float got[4];
    ASSERT_TRUE(shrt::parameter_value(static_cast<cShdMissing*>(sm->find("missing"))->level, got));
    EXPECT_EQ(got[0], 0.5f);
}

TEST_F(ShaderManager, ACompileErrorEndsTheProgramAfterTheVertexProgramLoaded)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    dir.write("test_pass_vert.cg", PASS_VERT);
    dir.write("test_broken_frag.cg", BROKEN_FRAG);
    get_resource_path()->push_searchpath(dir.path);
    EXPECT_EXIT(register_shader<cShdBroken>("broken"), testing::ExitedWithCode(1),
                "test_pass_vert.cg\\.\\.\\. loading\\.\\.\\. done\\.\n"
                "Cg compiling\t[^\n]*test_broken_frag.cg\\.\\.\\.\n"
                "-{51}\nthe program failed to compile\n[^\n]*test_broken_frag.cg:\n(.|\n)*"
                "-{51}\nlast-shader: null_shader\nCg error, exiting\\.\\.\\.\n"
                "## ERROR: cShader_CG::load_from_files\\(\\) failed on test_broken_frag.cg\n");
    EXPECT_EXIT(
        {
            cShdNoParams never(sm, &sm->vertex_profile, &sm->fragment_profile, "test_pass_vert.cg", "no_such_file.cg");
        },
        testing::ExitedWithCode(1), "## ERROR: cShader_CG::load_from_files\\(\\) failed on no_such_file.cg\n");
}

TEST_F(GLTest, UnbindWithoutAContextIsReported)
{
    testing::internal::CaptureStderr();
    get_shader_manager()->unbind();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("## ERROR in cShaderManager_CG.cpp line ", 0), 0u) << err;
    EXPECT_TRUE(contains(err, ": no current CG-context available!\n")) << err;
}
