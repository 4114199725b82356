#pragma once
// The window's fixed configuration: size, render area and the GL attributes
// asked of the driver. One instance per process, created with the defaults
// on first use by window_config() and deleted by the exit hook.
#include <cstdint>

struct SDL_Surface;

struct Viewport {
    int x, y, width, height;
};

struct WindowConfig {
    SDL_Surface* surface = nullptr;
    uint32_t videoFlags = 0x0000000A;  // SDL_OPENGLBLIT; bit 31 is full screen
    int width = 1280;
    int height = 720;
    int renderWidth = 1280;
    int renderHeight = 720;
    int bitsPerPixel = 32;
    bool fullHeight = false;  // false: the render area is centred vertically
    int redSize = 8, greenSize = 8, blueSize = 8, alphaSize = 8;
    int depthSize = 24;
    int doubleBuffer = 1;
    int multisampleBuffers = 0;
    int multisampleSamples = 0;
    int stereo = 0;
    // Share of the render area the show's pictures are made at (0.25..1):
    // render targets take the scaled size and the final picture is
    // stretched, filtered, over the whole render area.
    float renderScale = 1.f;

    static constexpr uint32_t FULLSCREEN_BIT = 0x80000000u;
    bool fullscreen() const { return (videoFlags & FULLSCREEN_BIT) != 0; }

    // The render area on screen: the whole height when fullHeight, else
    // renderHeight centred (integer division toward zero).
    Viewport render_viewport() const;
    // Height of the render area as render targets size themselves: the
    // window height when fullHeight, else renderHeight.
    int render_area_height() const { return fullHeight ? height : renderHeight; }
    // The full size of render targets: the render area at renderScale
    // (rounded to the nearest pixel, at least one).
    int scaled_render_width() const;
    // The scale effects sized in pixels multiply their sizes by, so that
    // they keep their look at any render scale.
    float pixel_scale() const { return renderScale > 0.f && renderScale < 1.f ? renderScale : 1.f; }
    int scaled_render_height() const;

    // The nine requested GL attributes in their fixed order: red, green,
    // blue, alpha, depth, double buffer, multisample buffers, multisample
    // samples, stereo.
    static constexpr int ATTRIBUTE_COUNT = 9;
    void requested_attributes(int out[ATTRIBUTE_COUNT]) const;
};

WindowConfig* window_config();
// Deletes the instance (the exit hook); a later window_config() makes a new one.
void destroy_window_config();
bool window_config_exists();
