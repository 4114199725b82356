#pragma once
// Off-screen colour targets of a few fixed sizes relative to the screen.
//
// Scenes and passes draw into a target, then use it as a texture in the
// next pass. The pool (cRenderTargetManager) hands targets out by size
// class through cTmpRT handles.
#include <GL/gl.h>

#include <cstdint>
#include <string>

// A size class; the value is the divisor of the full render-area size,
// except RTT_DOUBLE (twice the full size).
enum eRTT : int32_t {
    RTT_NONE = 0,
    RTT_FULL = 1,
    RTT_HALF = 2,
    RTT_QUATER = 4,
    RTT_EIGHTH = 8,
    RTT_DOUBLE = -1,
};

// "RTT_FULL" ..., "OOOPS" for a value that is no class.
std::string rtt_name(int size_class);

class iRenderTarget {
public:
    iRenderTarget(uint32_t w, uint32_t h) : width(w), height(h) {}
    virtual ~iRenderTarget() = default;
    iRenderTarget(const iRenderTarget&) = delete;
    iRenderTarget& operator=(const iRenderTarget&) = delete;

    // Creates the GL objects; the pool calls it once after construction.
    virtual void create() = 0;
    // Drawing goes into the target (viewport over all of it); clears it
    // when asked.
    virtual void bind(bool clear) = 0;
    // Drawing goes to the window again, with the viewport from before bind.
    virtual void unbind() = 0;
    // Binds the colour texture on a unit (GL_TEXTURE0_ARB ...) and enables
    // its target there; unit 0 is active again afterwards.
    virtual void bind_texture(GLenum unit) = 0;
    virtual void unbind_texture() = 0;

    const uint32_t width;
    const uint32_t height;
};
