#pragma once
// With WENDIT_FPS=1 the show prints, every five seconds of wall time, the
// frames it presented in them and the demo time it reached:
// "# fps 4.2 (21 frames in 5.0 s) at 00:00:35,120". Silent otherwise.
class cFrameRateMeter {
public:
    cFrameRateMeter();
    void frame_presented(int demoTimeMs);

private:
    bool m_on;
    long long m_windowStartUs = 0;
    int m_frames = 0;
};
