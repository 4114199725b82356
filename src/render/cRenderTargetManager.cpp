#include "render/cRenderTargetManager.h"

#include <iostream>
#include <map>
#include <set>
#include <vector>

#include "platform/WindowConfig.h"

namespace {
cRenderTargetManager* g_pool = nullptr;

// Pools alive now: a handle that outlives its pool (held across the exit
// hook) must not hand its target to a deleted pool.
std::set<const cRenderTargetManager*>& live_pools()
{
    static auto* pools = new std::set<const cRenderTargetManager*>();  // outlives the exit hook
    return *pools;
}
}  // namespace

cTmpRT::~cTmpRT()
{
    release();
}

cTmpRT::cTmpRT(cTmpRT&& other) noexcept
    : m_type(other.m_type), m_manager(other.m_manager), m_target(other.m_target)
{
    other.m_type = RTT_NONE;
    other.m_manager = nullptr;
    other.m_target = nullptr;
}

cTmpRT& cTmpRT::operator=(cTmpRT&& other) noexcept
{
    if (this != &other) {
        release();
        m_type = other.m_type;
        m_manager = other.m_manager;
        m_target = other.m_target;
        other.m_type = RTT_NONE;
        other.m_manager = nullptr;
        other.m_target = nullptr;
    }
    return *this;
}

void cTmpRT::release()
{
    if (!m_target)
        return;
    if (m_manager && live_pools().count(m_manager)) {
        m_manager->release(*this);
        return;
    }
    // The pool is gone (process exit) and deleted the target with it.
    m_type = RTT_NONE;
    m_manager = nullptr;
    m_target = nullptr;
}

void cRenderTargetManager::target_size(eRTT type, uint32_t& w, uint32_t& h)
{
    const WindowConfig* wc = window_config();
    const uint32_t W = uint32_t(wc->scaled_render_width());
    const uint32_t H = uint32_t(wc->scaled_render_height());
    if (type == RTT_DOUBLE) {
        w = 2 * W;
        h = 2 * H;
    } else {
        const uint32_t k = uint32_t(type) ? uint32_t(type) : 1;
        w = W / k;
        h = H / k;
    }
}

cRenderTargetManager::cRenderTargetManager()
{
    live_pools().insert(this);
    std::vector<cTmpRT> held;
    held.reserve(PREALLOC_FULL + PREALLOC_HALF + PREALLOC_QUATER);
    // The scenes' 3-D drawing needs depth in a few of them; the passes and
    // the flat drawing need none.
    for (int i = 0; i < PREALLOC_FULL; ++i)
        held.push_back(allocate(RTT_FULL, i < PREALLOC_DEPTH_FULL));
    for (int i = 0; i < PREALLOC_HALF; ++i)
        held.push_back(allocate(RTT_HALF, i < PREALLOC_DEPTH_HALF));
    for (int i = 0; i < PREALLOC_QUATER; ++i)
        held.push_back(allocate(RTT_QUATER, false));
    m_warnOnCreate = true;
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        release(*it);
}

cRenderTargetManager::~cRenderTargetManager()
{
    if (m_inUse != 0)
        std::cerr << "## ERROR, rendertargetmanager: rendertarget still bound while exiting..." << std::endl;
    std::cout << "# rrt-manager: number of tmp-rt allocated: " << m_pool.size() << std::endl;
    std::cout << "# rtt-manager: maximum concurrently allocated RTs: " << m_maxInUse << std::endl;
    for (auto& entry : m_pool)
        delete entry.second;
    m_pool.clear();
    for (cRenderTarget_fbo* target : m_lent)
        delete target;
    m_lent.clear();
    live_pools().erase(this);
}

cRenderTarget_fbo* cRenderTargetManager::make(uint32_t w, uint32_t h, bool depth)
{
    auto* target = new cRenderTarget_fbo(w, h);
    target->has_depth = depth;
    target->create();
    return target;
}

cTmpRT cRenderTargetManager::allocate(eRTT type, bool depth)
{
    m_inUse += 1;
    if (m_inUse > m_maxInUse)
        m_maxInUse = m_inUse;
    uint32_t w = 0, h = 0;
    target_size(type, w, h);
    for (auto it = m_pool.begin(); it != m_pool.end();) {
        if (it->first != type || it->second->has_depth != depth) {
            ++it;
            continue;
        }
        cRenderTarget_fbo* target = it->second;
        it = m_pool.erase(it);
        if (target->width != w || target->height != h) {
            // Made for another render scale: it is of no more use.
            delete target;
            continue;
        }
        m_lent.insert(target);
        return cTmpRT(type, this, target);
    }
    if (m_warnOnCreate && !m_loading) {
        std::cout << "# performance-warning at " << (demo_time ? demo_time() : 0)
                  << "ms: allocated rendertarget runtime: " << rtt_name(type) << (depth ? "" : " (flat)")
                  << std::endl;
        m_createdAtRuntime += 1;
    }
    cRenderTarget_fbo* target = make(w, h, depth);
    m_lent.insert(target);
    return cTmpRT(type, this, target);
}

void cRenderTargetManager::release(cTmpRT& handle)
{
    if (!handle.m_target)
        return;
    m_inUse -= 1;
    m_lent.erase(handle.m_target);
    uint32_t w = 0, h = 0;
    target_size(handle.m_type, w, h);
    if (handle.m_target->width == w && handle.m_target->height == h) {
        m_pool.emplace_back(handle.m_type, handle.m_target);
    } else {
        // The render scale changed while it was lent: one of the new size
        // takes its place, so the pool keeps its count.
        const bool depth = handle.m_target->has_depth;
        delete handle.m_target;
        m_pool.emplace_back(handle.m_type, make(w, h, depth));
    }
    handle.m_type = RTT_NONE;
    handle.m_manager = nullptr;
    handle.m_target = nullptr;
}

unsigned cRenderTargetManager::refit()
{
    // Every idle target made for another size is made again at the new
    // size, of its own kind.
    unsigned made = 0;
    for (auto& entry : m_pool) {
        uint32_t w = 0, h = 0;
        target_size(entry.first, w, h);
        if (entry.second->width == w && entry.second->height == h)
            continue;
        const bool depth = entry.second->has_depth;
        delete entry.second;
        entry.second = make(w, h, depth);
        made += 1;
    }
    return made;
}

cRenderTargetManager* get_rendertarget_manager()
{
    if (!g_pool)
        g_pool = new cRenderTargetManager();
    return g_pool;
}

void destroy_rendertarget_manager()
{
    delete g_pool;
    g_pool = nullptr;
}

bool rendertarget_manager_exists()
{
    return g_pool != nullptr;
}

cTmpRT get_tmp_rt(eRTT type)
{
    return get_rendertarget_manager()->allocate(type);
}

cTmpRT get_flat_rt(eRTT type)
{
    return get_rendertarget_manager()->allocate(type, false);
}

eRTT get_rtt_type(const iRenderTarget* target)
{
    if (!target || target->width == 0)
        return RTT_NONE;
    const uint32_t q = uint32_t(window_config()->scaled_render_width()) / target->width;
    switch (q) {
    case 1: return RTT_FULL;
    case 2: return RTT_HALF;
    case 4: return RTT_QUATER;
    case 8: return RTT_EIGHTH;
    default: return RTT_NONE;
    }
}
