#include "demo/render_scale_controller.h"

#include <algorithm>
#include <cmath>

cRenderScaleController::cRenderScaleController(const Settings& settings, double startScale)
    : m_settings(settings), m_scale(0.0)
{
    if (m_settings.step <= 0.0)
        m_settings.step = 0.125;
    if (m_settings.fpsTarget <= 0.0)
        m_settings.fpsTarget = 30.0;
    m_settings.maxScale = std::min(std::max(m_settings.maxScale, m_settings.minScale), 1.0);
    m_scale = clamp(startScale);
    m_toSkip = m_settings.settleFrames;
}

double cRenderScaleController::clamp(double s) const
{
    return std::min(std::max(s, m_settings.minScale), m_settings.maxScale);
}

double cRenderScaleController::quantise_down(double s) const
{
    // A hair of tolerance: 0.75 / 0.125 must stay 6 steps.
    return std::floor(s / m_settings.step + 1e-6) * m_settings.step;
}

void cRenderScaleController::changed_to(double s)
{
    m_scale = s;
    m_measured = false;
    m_toSkip = m_settings.settleFrames;
    m_sinceChangeMs = 0.0;
}

bool cRenderScaleController::frame(double frameMs)
{
    if (!(frameMs > 0.0))
        return false;
    m_sinceChangeMs += frameMs;
    // The first frames at a new size pay for making its targets.
    if (m_toSkip > 0) {
        m_toSkip -= 1;
        return false;
    }
    if (!m_measured) {
        m_smoothedMs = frameMs;
        m_measured = true;
    } else {
        const double sample = std::min(frameMs, 2.0 * m_smoothedMs);
        m_smoothedMs += m_settings.smoothing * (sample - m_smoothedMs);
    }
    if (m_sinceChangeMs < m_settings.holdSeconds * 1000.0)
        return false;

    const double target = target_ms();
    // The dead band lies below the target: frames slower than it always
    // count (a band above it would hold a show at 28 frames a second while
    // it aims at 30), faster ones only once they are clearly faster.
    if (m_smoothedMs > target && m_scale > m_settings.minScale) {
        // Too slow: straight to the scale whose pixels fit the target, at
        // least one step down.
        const double fit = m_scale * std::sqrt(target / m_smoothedMs);
        const double next = clamp(std::min(quantise_down(fit), quantise_down(m_scale - m_settings.step + 1e-9)));
        if (next < m_scale) {
            changed_to(next);
            return true;
        }
    } else if (m_smoothedMs < target * (1.0 - m_settings.deadBand) && m_scale < m_settings.maxScale) {
        // Fast enough: one step up, when the frame at the larger size is
        // expected to still keep the target.
        const double next = clamp(quantise_down(m_scale + m_settings.step + 1e-9));
        const double expected = m_smoothedMs * (next / m_scale) * (next / m_scale);
        if (next > m_scale && expected <= target) {
            changed_to(next);
            return true;
        }
    }
    return false;
}
