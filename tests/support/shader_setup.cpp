#include "support/shader_setup.h"

#include <GL/glext.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "gl/gl_extensions.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/iRenderTarget.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"

cShaderManager_CG* start_shaders()
{
    cResourcePath* rp = get_resource_path();
    rp->push_searchpath(std::string(WENDIT_SOURCE_DIR) + "/src/shaders");
    rp->push_searchpath(std::string(WENDIT_SOURCE_DIR) + "/src/shaders/comp");
    cShaderManager_CG* sm = get_shader_manager();
    testing::internal::CaptureStdout();
    sm->init_cg();
    testing::internal::GetCapturedStdout();
    return sm;
}

cShaderManager_CG* start_pass_shaders()
{
    cShaderManager_CG* sm = start_shaders();
    get_rendertarget_manager()->demo_time = [] { return 0; };
    testing::internal::CaptureStderr();
    ensure_post_shaders();
    ensure_comp_shaders();
    ensure_spill_shaders();
    testing::internal::GetCapturedStderr();
    return sm;
}

std::vector<Rgba> read_target(iRenderTarget* target)
{
    std::vector<unsigned char> bytes(size_t(target->width) * target->height * 4);
    target->bind(false);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(target->width), GLsizei(target->height), GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    target->unbind();
    std::vector<Rgba> out(size_t(target->width) * target->height);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = {bytes[i * 4], bytes[i * 4 + 1], bytes[i * 4 + 2], bytes[i * 4 + 3]};
    return out;
}

void fill_target(iRenderTarget* target, Rgba c)
{
    GLfloat previous[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, previous);
    glClearColor(c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f);
    target->bind(true);
    target->unbind();
    glClearColor(previous[0], previous[1], previous[2], previous[3]);
}

void paint_rect(iRenderTarget* target, int x0, int y0, int x1, int y1, Rgba c)
{
    target->bind(false);
    glPushAttrib(GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0, y0, x1 - x0, y1 - y0);
    glClearColor(c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    target->unbind();
}

namespace {
const GLenum CAPS[] = {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_ALPHA_TEST, GL_FOG, GL_CULL_FACE, GL_SCISSOR_TEST};
}

GLStateSnapshot snapshot_gl_state()
{
    GLStateSnapshot s;
    glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
    s.current = shader_manager_exists() ? get_shader_manager()->current : "";
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
    for (GLenum cap : CAPS)
        s.enables.push_back(glIsEnabled(cap));
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &s.activeTexture);
    for (GLenum unit : {GL_TEXTURE0_ARB, GL_TEXTURE1_ARB, GL_TEXTURE2_ARB}) {
        ext::glActiveTextureARB(unit);
        s.enables.push_back(glIsEnabled(GL_TEXTURE_2D));
        s.enables.push_back(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    }
    ext::glActiveTextureARB(GLenum(s.activeTexture));
    return s;
}

bool GLStateSnapshot::operator==(const GLStateSnapshot& o) const
{
    return program == o.program && current == o.current && !std::memcmp(projection, o.projection, sizeof projection) &&
           !std::memcmp(modelview, o.modelview, sizeof modelview) && matrixMode == o.matrixMode &&
           depthMask == o.depthMask && enables == o.enables && activeTexture == o.activeTexture;
}

std::string GLStateSnapshot::describe() const
{
    std::ostringstream out;
    out << "program " << program << " (\"" << current << "\"), matrix mode " << matrixMode << ", depth mask "
        << int(depthMask) << ", active unit " << activeTexture - GL_TEXTURE0_ARB << ", enables";
    for (GLboolean e : enables)
        out << " " << int(e);
    out << ", projection[0] " << projection[0] << ", modelview[0] " << modelview[0] << " [12] " << modelview[12];
    return out.str();
}

TempDir::TempDir()
{
    char tmpl[] = "/tmp/wendit-shaders-XXXXXX";
    if (mkdtemp(tmpl))
        path = tmpl;
}

TempDir::~TempDir()
{
    if (path.rfind("/tmp/wendit-shaders-", 0) == 0)
        std::system(("rm -rf '" + path + "'").c_str());
}

void TempDir::write(const std::string& name, const std::string& text) const
{
    std::ofstream(path + "/" + name, std::ios::binary) << text;
}
