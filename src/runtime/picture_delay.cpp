#include "runtime/picture_delay.h"

#include <algorithm>
#include <cstdint>

void cPictureDelay::frame_shown(int clockMs, int shownMs)
{
    if (m_haveLast) {
        m_interval[size_t(m_nextInterval)] = std::max(0, shownMs - m_lastShownMs);
        m_nextInterval = (m_nextInterval + 1) % FRAMES;
        m_intervals = std::min(m_intervals + 1, FRAMES);
    }
    m_lastShownMs = shownMs;
    m_haveLast = true;
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
    // Half the stay of a picture, each weighted by its own length: the
    // moment a listener is likeliest to look at, where frames vary.
    int64_t sum = 0, squares = 0;
    for (int i = 0; i < m_intervals; ++i) {
        sum += m_interval[size_t(i)];
        squares += int64_t(m_interval[size_t(i)]) * m_interval[size_t(i)];
    }
    const int halfStay = sum > 0 ? int(squares / (2 * sum)) : 0;
    return median(m_ms, m_count) + halfStay;
}
