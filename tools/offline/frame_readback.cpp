#include "offline/frame_readback.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

#include "gl/gl_extensions.h"
#include "gl/gl_state.h"

using namespace ext;

cFrameReadback::cFrameReadback(int x, int y, int width, int height) : m_x(x), m_y(y), m_w(width), m_h(height)
{
    glGenBuffersARB(2, m_buffers);
    for (unsigned b : m_buffers) {
        glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, b);
        glBufferDataARB(GL_PIXEL_PACK_BUFFER_ARB, GLsizeiptrARB(frame_bytes()), nullptr, GL_STREAM_READ_ARB);
    }
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
}

cFrameReadback::~cFrameReadback()
{
    glDeleteBuffersARB(2, m_buffers);
}

void cFrameReadback::start()
{
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, m_buffers[m_started % 2]);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    read_from_window_draw_buffer();
    glReadPixels(m_x, m_y, m_w, m_h, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
    ++m_started;
}

bool cFrameReadback::pending(bool all) const
{
    return m_started - m_fetched > (all ? 0 : 1);
}

bool cFrameReadback::fetch(std::vector<uint8_t>& out)
{
    out.resize(frame_bytes());
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, m_buffers[m_fetched % 2]);
    const void* p = glMapBufferARB(GL_PIXEL_PACK_BUFFER_ARB, GL_READ_ONLY_ARB);
    if (p) {
        std::memcpy(out.data(), p, out.size());
        glUnmapBufferARB(GL_PIXEL_PACK_BUFFER_ARB);
    }
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
    ++m_fetched;
    return p != nullptr;
}
