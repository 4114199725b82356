#pragma once
// How long a frame's picture takes from the clock reading it shows to the
// screen: the frame's work and the wait for the buffer swap. The music is
// held back by this much, so that what is heard when a picture appears is
// the demo time that picture shows.
//
// A picture stays on the screen until the next one, so it can match what is
// heard at one moment of that stretch only: the music is placed for the
// middle of it, half a frame interval after the picture appears. At a
// low frame rate the sound is then as much ahead of the picture at a
// frame's start as behind it at its end, never a whole frame behind.
//
// Both figures come from the latest frames: the delay is their median, so
// one slow frame (a texture upload) does not move the music; the stay is
// weighted by length, since a long-held picture is looked at longer.
#include <array>

class cPictureDelay {
public:
    // A presented frame: the clock read `clockMs` for it and the swap
    // returned at `shownMs` (both on the clock's counter).
    void frame_shown(int clockMs, int shownMs);
    // From the clock reading of the next frame to the middle of its stay
    // on the screen, in ms: the picture's delay plus half the time a
    // picture stays (a frame at 60 Hz until frames were seen).
    int estimate_ms() const;
    // A frame that is not measured (the show paused): the time up to the
    // next one is no picture's stay.
    void skip_frame() { m_haveLast = false; }

    static constexpr int FRAMES = 9;
    static constexpr int FIRST_GUESS_MS = 17;

private:
    static int median(std::array<int, FRAMES> values, int count);

    std::array<int, FRAMES> m_ms{};
    std::array<int, FRAMES> m_interval{};
    int m_count = 0;      // delays seen, up to FRAMES
    int m_intervals = 0;  // intervals seen, up to FRAMES
    int m_next = 0;       // where the next delay goes
    int m_nextInterval = 0;
    int m_lastShownMs = 0;
    bool m_haveLast = false;
};
