#include "runtime/picture_delay.h"

#include <algorithm>

void cPictureDelay::frame_shown(int clockMs, int shownMs)
{
    m_ms[size_t(m_next)] = std::max(0, shownMs - clockMs);
    m_next = (m_next + 1) % FRAMES;
    m_count = std::min(m_count + 1, FRAMES);
}

int cPictureDelay::estimate_ms() const
{
    if (m_count == 0)
        return FIRST_GUESS_MS;
    std::array<int, FRAMES> sorted = m_ms;
    std::sort(sorted.begin(), sorted.begin() + m_count);
    return sorted[size_t(m_count / 2)];
}
