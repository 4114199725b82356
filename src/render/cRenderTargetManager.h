#pragma once
// The render-target pool.
//
// Filled once at start-up with the targets the show needs most (7 full,
// 5 half, 3 quarter size; two full and two half of them with a depth
// buffer, the rest without), so that no frame-buffer object is created during
// the show; a target created later is reported as a performance warning
// with the demo time. Targets are handed out by size class through cTmpRT
// handles and come back when the handle dies; per class, the target given
// back earliest is handed out first. Reused targets keep their content.
#include <functional>
#include <list>
#include <set>
#include <utility>

#include "render/cRenderTarget_fbo.h"

class cRenderTargetManager;

// A scoped, move-only handle on a pooled target. Empty when default-made or
// moved from; an empty handle gives nothing back.
class cTmpRT {
public:
    cTmpRT() = default;
    cTmpRT(eRTT type, cRenderTargetManager* manager, cRenderTarget_fbo* target)
        : m_type(type), m_manager(manager), m_target(target) {}
    ~cTmpRT();
    cTmpRT(const cTmpRT&) = delete;
    cTmpRT& operator=(const cTmpRT&) = delete;
    cTmpRT(cTmpRT&& other) noexcept;
    cTmpRT& operator=(cTmpRT&& other) noexcept;

    cRenderTarget_fbo* get() const { return m_target; }
    cRenderTarget_fbo* operator->() const { return m_target; }
    explicit operator bool() const { return m_target != nullptr; }
    eRTT type() const { return m_type; }
    // Gives the target back now; the handle is empty afterwards.
    void release();

private:
    friend class cRenderTargetManager;
    eRTT m_type = RTT_NONE;
    cRenderTargetManager* m_manager = nullptr;
    cRenderTarget_fbo* m_target = nullptr;
};

class cRenderTargetManager {
public:
    // Pre-allocates the start-up targets (needs a GL context).
    cRenderTargetManager();
    // Prints the exit statistics and deletes every target it made, those
    // still held by handles too (reported as an error; the handles let go
    // without touching them).
    ~cRenderTargetManager();
    cRenderTargetManager(const cRenderTargetManager&) = delete;
    cRenderTargetManager& operator=(const cRenderTargetManager&) = delete;

    // A target of the class; `depth` false gives one without a depth
    // buffer, for drawing that nothing depth-tests (its clears write the
    // colours only). Each kind is pooled on its own.
    cTmpRT allocate(eRTT type, bool depth = true);
    void release(cTmpRT& handle);

    // After a change of the render scale, between frames: every idle target
    // made for another size is replaced by one of its class's new size, so
    // that the next frame finds the pool as full as before and creates
    // nothing (and warns of nothing). Targets lent now are replaced the same
    // way when they come back. Returns the number of targets made.
    unsigned refit();

    // Size of a class for the current window configuration (at its render
    // scale).
    static void target_size(eRTT type, uint32_t& w, uint32_t& h);

    size_t pool_size() const { return m_pool.size(); }
    unsigned in_use() const { return m_inUse; }
    unsigned max_in_use() const { return m_maxInUse; }
    // Targets created since start-up (each one printed a warning).
    unsigned created_at_runtime() const { return m_createdAtRuntime; }
    const std::list<std::pair<eRTT, cRenderTarget_fbo*>>& pool() const { return m_pool; }

    // While the show loads and draws what it will use once ahead, targets it
    // creates are expected: no warning, not counted as created at runtime.
    void set_loading(bool loading) { m_loading = loading; }
    bool loading() const { return m_loading; }

    // Where the performance warning takes its demo time from: the program
    // sets it (init_gl: the scene manager's clock); unset, it says 0.
    std::function<int()> demo_time;

    static constexpr int PREALLOC_FULL = 7, PREALLOC_HALF = 5, PREALLOC_QUATER = 3;
    // Of those, the ones with a depth buffer.
    static constexpr int PREALLOC_DEPTH_FULL = 2, PREALLOC_DEPTH_HALF = 2;

private:
    static cRenderTarget_fbo* make(uint32_t w, uint32_t h, bool depth);

    std::list<std::pair<eRTT, cRenderTarget_fbo*>> m_pool;
    std::set<cRenderTarget_fbo*> m_lent;  // held by handles now
    unsigned m_inUse = 0;
    unsigned m_maxInUse = 0;
    bool m_warnOnCreate = false;
    bool m_loading = false;
    unsigned m_createdAtRuntime = 0;
};

// The process-wide pool, created on first use.
cRenderTargetManager* get_rendertarget_manager();
// Deletes the pool (the exit hook).
void destroy_rendertarget_manager();
bool rendertarget_manager_exists();

// A target of the given class from the process-wide pool.
cTmpRT get_tmp_rt(eRTT type);
// The same without a depth buffer: for flat 2-D work and image passes.
cTmpRT get_flat_rt(eRTT type);
// The class of an existing target, from its width (RTT_NONE when it is none
// of the divided sizes; a double-size target is RTT_NONE too).
eRTT get_rtt_type(const iRenderTarget* target);
