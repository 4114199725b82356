#include "platform/WindowConfig.h"

namespace {
WindowConfig* g_config = nullptr;
}

Viewport WindowConfig::render_viewport() const
{
    if (fullHeight)
        return {0, 0, renderWidth, height};
    return {0, (height - renderHeight) / 2, renderWidth, renderHeight};
}

namespace {
int scaled(int size, float scale)
{
    if (scale >= 1.f || scale <= 0.f)
        return size;
    const int s = int(float(size) * scale + 0.5f);
    return s < 1 ? 1 : s;
}
}  // namespace

int WindowConfig::scaled_render_width() const
{
    return scaled(renderWidth, renderScale);
}

int WindowConfig::scaled_render_height() const
{
    return scaled(render_area_height(), renderScale);
}

void WindowConfig::requested_attributes(int out[ATTRIBUTE_COUNT]) const
{
    const int values[ATTRIBUTE_COUNT] = {redSize, greenSize, blueSize, alphaSize, depthSize,
                                         doubleBuffer, multisampleBuffers, multisampleSamples, stereo};
    for (int i = 0; i < ATTRIBUTE_COUNT; ++i)
        out[i] = values[i];
}

WindowConfig* window_config()
{
    if (!g_config)
        g_config = new WindowConfig();
    return g_config;
}

void destroy_window_config()
{
    delete g_config;
    g_config = nullptr;
}

bool window_config_exists()
{
    return g_config != nullptr;
}
