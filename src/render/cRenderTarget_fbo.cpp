#include "render/cRenderTarget_fbo.h"

#include <map>

#include "gl/gl_extensions.h"

namespace {
// Targets of equal pixel count (whatever their shape) share one depth
// renderbuffer. Each entry counts its users so that the buffer is deleted
// with its last target and never handed to a new target after deletion.
struct SharedDepth {
    GLuint name;
    int users;
};
// Never destroyed: the exit hook deletes targets after static objects made
// during start-up may already be gone.
std::map<int, SharedDepth>& depth_table()
{
    static auto* table = new std::map<int, SharedDepth>();
    return *table;
}
}  // namespace

size_t shared_depth_buffer_count()
{
    return depth_table().size();
}

std::string rtt_name(int size_class)
{
    switch (size_class) {
    case RTT_NONE: return "RTT_NONE";
    case RTT_FULL: return "RTT_FULL";
    case RTT_HALF: return "RTT_HALF";
    case RTT_QUATER: return "RTT_QUATER";
    case RTT_EIGHTH: return "RTT_EIGHTH";
    case RTT_DOUBLE: return "RTT_DOUBLE";
    default: return "OOOPS";
    }
}

void cRenderTarget_fbo::create()
{
    glGenTextures(1, &texture);
    glBindTexture(texture_target, texture);
    glTexParameteri(texture_target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(texture_target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(texture_target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(texture_target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(texture_target, 0, GL_RGBA8, GLsizei(width), GLsizei(height), 0, GL_BGRA, pixel_type,
                 nullptr);

    ext::glGenFramebuffersEXT(1, &fbo);
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo);
    ext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, texture_target, texture, 0);

    if (has_depth) {
        const int pixels = int(width * height);
        auto& table = depth_table();
        auto it = table.find(pixels);
        if (it == table.end()) {
            GLuint rb = 0;
            ext::glGenRenderbuffersEXT(1, &rb);
            ext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, rb);
            ext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, GLsizei(width),
                                          GLsizei(height));
            it = table.emplace(pixels, SharedDepth{rb, 0}).first;
        }
        it->second.users += 1;
        depth_rb = it->second.name;
        ext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                          depth_rb);
    }

    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glBindTexture(texture_target, 0);
}

cRenderTarget_fbo::~cRenderTarget_fbo()
{
    if (!fbo && !texture)
        return;  // never created
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glBindTexture(texture_target, 0);
    ext::glDeleteFramebuffersEXT(1, &fbo);
    if (depth_rb) {
        auto& table = depth_table();
        auto it = table.find(int(width * height));
        if (it != table.end() && it->second.name == depth_rb && --it->second.users <= 0) {
            ext::glDeleteRenderbuffersEXT(1, &depth_rb);
            table.erase(it);
        }
    }
    glDeleteTextures(1, &texture);
}

void cRenderTarget_fbo::bind(bool clear)
{
    glGetIntegerv(GL_VIEWPORT, saved_viewport);
    glViewport(0, 0, GLsizei(width), GLsizei(height));
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo);
    GLint drawBuffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    saved_draw_buffer = GLenum(drawBuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    if (clear)
        glClear(has_depth ? (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT) : GL_COLOR_BUFFER_BIT);
}

void cRenderTarget_fbo::unbind()
{
    glDrawBuffer(saved_draw_buffer);
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(saved_viewport[0], saved_viewport[1], saved_viewport[2], saved_viewport[3]);
}

void cRenderTarget_fbo::bind_texture(GLenum unit)
{
    bound_unit = GLint(unit);
    ext::glActiveTextureARB(unit);
    glBindTexture(texture_target, texture);
    glEnable(texture_target);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void cRenderTarget_fbo::unbind_texture()
{
    if (bound_unit < 0)
        return;  // nothing bound: leave every unit alone
    ext::glActiveTextureARB(GLenum(bound_unit));
    glBindTexture(texture_target, 0);
    glDisable(texture_target);
    bound_unit = -1;
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void cRenderTarget_fbo::set_filter(GLint mode)
{
    glBindTexture(texture_target, texture);
    glTexParameteri(texture_target, GL_TEXTURE_MIN_FILTER, mode);
    glTexParameteri(texture_target, GL_TEXTURE_MAG_FILTER, mode);
    glBindTexture(texture_target, 0);
}
