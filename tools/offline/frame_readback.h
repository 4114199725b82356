#pragma once
// Reads finished frames back from the window without waiting for them:
// two pixel-pack buffers take turns, so the read of frame n is started
// before frame n is presented and fetched only after frame n + 1 has been
// drawn, while the GL works on something else.
#include <cstddef>
#include <cstdint>
#include <vector>

class cFrameReadback {
public:
    cFrameReadback(int x, int y, int width, int height);
    ~cFrameReadback();
    cFrameReadback(const cFrameReadback&) = delete;
    cFrameReadback& operator=(const cFrameReadback&) = delete;

    // Starts reading the back buffer's picture (call before presenting).
    void start();
    // True when a started read has not been fetched yet, other than the one
    // started last (or any, with `all`).
    bool pending(bool all) const;
    // Copies the oldest started read (BGRA, bottom row first) into `out`;
    // false when the driver could not hand it over.
    bool fetch(std::vector<uint8_t>& out);
    size_t frame_bytes() const { return size_t(m_w) * m_h * 4; }

private:
    int m_x, m_y, m_w, m_h;
    unsigned m_buffers[2] = {0, 0};
    int m_started = 0;  // reads started
    int m_fetched = 0;  // reads fetched
};
