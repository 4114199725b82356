#pragma once
// The frame profiler's listener on the engine's pass hooks: every shader
// draw timed on its own (its work finished before and after, so the wall
// time is its cost on a renderer that runs in the process), with a GL timer
// query beside where the driver has GL_ARB_timer_query, and the process's
// processor time. Also measures the plain-copy cost per size class.
#include <cstdint>
#include <string>
#include <vector>

#include "capture/profile_figures.h"
#include "render/pass_profile.h"

class cProfileTimer : public iPassListener {
public:
    cProfileTimer();  // needs the GL context
    ~cProfileTimer() override;

    void begin_frame(int t, const std::vector<std::string>& layers);
    // Finishes the frame's work and collects its figures.
    FrameFigure end_frame();
    bool has_timer_queries() const { return m_queries; }

    // A plain copy (a render target drawn without a shader into another of
    // its size), `repeats` times per class of the render area; the median.
    CopyCosts measure_copies(int repeats);

    void pass_begin(const std::string& shader) override;
    void pass_end() override;
    void pass_samples(float samples) override { m_pendingSamples = samples; }
    void scope_begin(const std::string& name) override;
    void scope_end() override;

private:
    struct Mark {
        double wall, cpu;
    };
    Mark mark_finished();
    unsigned query_for(size_t index);

    bool m_queries = false;
    std::vector<unsigned> m_queryPool;
    std::vector<unsigned> m_passQuery;  // per pass of the frame; 0 none
    FrameFigure m_frame;
    Mark m_frameStart{}, m_passStart{}, m_scopeStart{};
    bool m_inPass = false;
    float m_pendingSamples = -1.f;
    std::vector<std::string> m_scopes;
};
