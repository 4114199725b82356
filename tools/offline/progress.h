#pragma once
// The capture's progress line on a terminal: frames done of all, frames
// per second and the time left, redrawn in place at most a few times a
// second. Off a terminal it stays silent, unless asked for lines: then it
// writes "# progress DONE TOTAL" about once a second and at the end, for a
// program that runs many captures and adds their progress up.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// A time as the capture's messages write it, "M:SS" (whole seconds).
std::string minutes_seconds(double seconds);

class cProgress {
public:
    cProgress(int64_t total, bool onTerminal, FILE* out = stderr, bool lines = false);
    void update(int64_t done);
    // Clears the line.
    void finish();
    double seconds() const;
    double fps(int64_t done) const;

    // "frame 12/300  4.1 fps  1:10 left"
    static std::string line(int64_t done, int64_t total, double fps);

private:
    using clock = std::chrono::steady_clock;
    int64_t m_total;
    bool m_tty;
    bool m_lines;
    int64_t m_lastDone = -1;
    FILE* m_out;
    clock::time_point m_begin, m_lastDraw;
    bool m_drawn = false;
};

// Standard output for the tool's own summary only: the engine's progress
// lines (sound, loading, scenes) go to /dev/null while this lives.
class cQuietStdout {
public:
    cQuietStdout();
    ~cQuietStdout();
    // Writes to the real standard output.
    void print(const std::string& text);

private:
    int m_saved = -1;
};
