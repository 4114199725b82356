#pragma once
// How long a frame's picture takes from the clock reading it shows to the
// screen: the frame's work and the wait for the buffer swap. The music is
// held back by this much, so that what is heard when a picture appears is
// the demo time that picture shows.
//
// The estimate is the median of the latest frames, so one slow frame (a
// texture upload, the machine busy for a moment) does not move the music.
#include <array>

class cPictureDelay {
public:
    // A presented frame: the clock read `clockMs` for it and the swap
    // returned at `shownMs` (both on the clock's counter).
    void frame_shown(int clockMs, int shownMs);
    // The delay to expect for the next frame, in ms: a frame at 60 Hz
    // until a frame was seen.
    int estimate_ms() const;
    void clear() { m_count = 0; }

    static constexpr int FRAMES = 9;
    static constexpr int FIRST_GUESS_MS = 17;

private:
    std::array<int, FRAMES> m_ms{};
    int m_count = 0;  // frames seen, up to FRAMES
    int m_next = 0;   // where the next one goes
};
