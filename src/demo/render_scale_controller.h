#pragma once
// Chooses the render scale of a show in a window from the times its frames
// take, to hold a frame rate: the cost of a frame follows the pixels it
// writes, the square of the scale.
//
// Frame times are smoothed (one slow frame, a stall of the system, moves
// the average by at most a doubling of its share), the scale moves in
// quantised steps: down as soon as the smoothed time is over the target,
// up only when it lies under a dead band below the target; and it stays put for some seconds after each change
// so that a change is judged on frames made at the new size. Time here is
// the sum of the frame times given to it: no clock is read.
class cRenderScaleController {
public:
    struct Settings {
        double fpsTarget = 30.0;
        double minScale = 0.5;
        double maxScale = 1.0;
        double step = 0.125;          // scales are multiples of it
        double smoothing = 0.1;       // weight of a new frame in the average
        double deadBand = 0.15;       // share of the target frame time, below it
        double holdSeconds = 2.0;     // at least this long between changes
        int settleFrames = 3;         // frames after a change not measured
    };

    explicit cRenderScaleController(const Settings& settings, double startScale = 1.0);

    // One presented frame that took frameMs. True when the scale changed
    // with it; scale() says to what.
    bool frame(double frameMs);

    double scale() const { return m_scale; }
    double smoothed_ms() const { return m_smoothedMs; }
    double target_ms() const { return 1000.0 / m_settings.fpsTarget; }

private:
    double quantise_down(double s) const;
    double clamp(double s) const;
    void changed_to(double s);

    Settings m_settings;
    double m_scale;
    double m_smoothedMs = 0.0;
    bool m_measured = false;   // m_smoothedMs holds frames of this scale
    int m_toSkip = 0;          // frames still to leave out after a change
    double m_sinceChangeMs = 0.0;
};
