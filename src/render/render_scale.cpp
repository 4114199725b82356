#include "render/render_scale.h"

#include <algorithm>

#include "platform/WindowConfig.h"
#include "render/cRenderTargetManager.h"

bool set_render_scale(float scale)
{
    WindowConfig* wc = window_config();
    const int oldW = wc->scaled_render_width(), oldH = wc->scaled_render_height();
    wc->renderScale = std::min(std::max(scale, MIN_RENDER_SCALE), MAX_RENDER_SCALE);
    if (wc->scaled_render_width() == oldW && wc->scaled_render_height() == oldH)
        return false;
    if (rendertarget_manager_exists())
        get_rendertarget_manager()->refit();
    return true;
}
