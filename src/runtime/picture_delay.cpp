#include "runtime/picture_delay.h"

#include <algorithm>

void cPictureDelay::frame_shown(int clockMs, int shownMs)
{
    if (m_count > 0) {
        m_interval[size_t(m_nextInterval)] = std::max(0, shownMs - m_lastShownMs);
        m_nextInterval = (m_nextInterval + 1) % FRAMES;
        m_intervals = std::min(m_intervals + 1, FRAMES);
    }
    m_lastShownMs = shownMs;
    m_ms[size_t(m_next)] = std::max(0, shownMs - clockMs);
    m_next = (m_next + 1) % FRAMES;
    m_count = std::min(m_count + 1, FRAMES);
}

int cPictureDelay::median(std::array<int, FRAMES> values, int count)
{
    std::sort(values.begin(), values.begin() + count);
    return values[size_t(count / 2)];
}

int cPictureDelay::estimate_ms() const
{
    if (m_count == 0 || m_intervals == 0)
        return FIRST_GUESS_MS + FIRST_GUESS_MS / 2;
    return median(m_ms, m_count) + median(m_interval, m_intervals) / 2;
}
