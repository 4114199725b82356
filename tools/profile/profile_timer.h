#pragma once
// The frame profiler's listener on the engine's pass hooks: every shader
// draw, and every draw made without one, timed on its own (its work
// finished before and after, so the wall time is its cost on a renderer
// that runs in the process), with a GL timer query beside where the driver
// has GL_ARB_timer_query, the process's processor time, and the fragments
// it wrote from an occlusion query. Also measures the plain-copy cost per
// size class.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "profile/profile_figures.h"
#include "render/cRenderTarget_fbo.h"
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
    // The targets are made on the first call and kept.
    CopyCosts measure_copies(int repeats);

    void pass_begin(const std::string& shader) override;
    void pass_end() override;
    void pass_samples(float samples) override { m_pendingSamples = samples; }
    bool plain_begin(const char* what) override;
    void plain_end() override;
    void scope_begin(const std::string& name) override;
    void scope_end() override;

private:
    struct Mark {
        double wall, cpu;
    };
    Mark mark_finished();
    unsigned query_for(std::vector<unsigned>& pool, size_t index);

    bool m_queries = false;    // timer queries
    bool m_fragments = false;  // occlusion queries
    std::vector<unsigned> m_queryPool, m_fragmentPool;
    std::vector<unsigned> m_passQuery, m_passFragments;  // per pass of the frame; 0 none
    FrameFigure m_frame;
    Mark m_frameStart{}, m_passStart{}, m_scopeStart{};
    bool m_inPass = false;
    bool m_plainPass = false;  // the open pass is a draw without a shader
    float m_pendingSamples = -1.f;
    std::vector<std::string> m_scopes;
    std::vector<std::unique_ptr<cRenderTarget_fbo>> m_copyTargets;  // source, destination per class
};
