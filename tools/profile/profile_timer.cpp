#include "profile/profile_timer.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include "render/cRenderTargetManager.h"
#include "render/cRenderTarget_fbo.h"
#include "render/quad.h"

namespace {
PFNGLGENQUERIESPROC gen_queries = nullptr;
PFNGLDELETEQUERIESPROC delete_queries = nullptr;
PFNGLBEGINQUERYPROC begin_query = nullptr;
PFNGLENDQUERYPROC end_query = nullptr;
PFNGLGETQUERYOBJECTUI64VPROC query_result = nullptr;

template <typename P>
void load(P& pointer, const char* name)
{
    pointer = reinterpret_cast<P>(SDL_GL_GetProcAddress(name));
}

bool has_extension(const char* name)
{
    const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return ext && std::strstr(ext, name);
}

bool load_queries()
{
    load(gen_queries, "glGenQueries");
    load(delete_queries, "glDeleteQueries");
    load(begin_query, "glBeginQuery");
    load(end_query, "glEndQuery");
    load(query_result, "glGetQueryObjectui64v");
    return gen_queries && delete_queries && begin_query && end_query && query_result;
}

double wall_ms()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double cpu_ms()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

long viewport_pixels()
{
    GLint vp[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, vp);
    return long(vp[2]) * long(vp[3]);
}
}  // namespace

cProfileTimer::cProfileTimer()
{
    const bool loaded = load_queries();
    m_queries = loaded && has_extension("GL_ARB_timer_query");
    m_fragments = loaded && has_extension("GL_ARB_occlusion_query");
}

cProfileTimer::~cProfileTimer()
{
    if (pass_listener() == this)
        set_pass_listener(nullptr);
    for (std::vector<unsigned>* pool : {&m_queryPool, &m_fragmentPool})
        if (!pool->empty())
            delete_queries(GLsizei(pool->size()), pool->data());
}

cProfileTimer::Mark cProfileTimer::mark_finished()
{
    glFinish();
    return Mark{wall_ms(), cpu_ms()};
}

unsigned cProfileTimer::query_for(std::vector<unsigned>& pool, size_t index)
{
    while (pool.size() <= index) {
        GLuint q = 0;
        gen_queries(1, &q);
        pool.push_back(q);
    }
    return pool[index];
}

void cProfileTimer::begin_frame(int t, const std::vector<std::string>& layers)
{
    m_frame = FrameFigure();
    m_frame.t = t;
    m_frame.layers = layers;
    m_passQuery.clear();
    m_passFragments.clear();
    m_scopes.clear();
    m_inPass = false;
    m_frameStart = mark_finished();
}

FrameFigure cProfileTimer::end_frame()
{
    if (m_inPass)
        pass_end();
    const Mark end = mark_finished();
    m_frame.ms = end.wall - m_frameStart.wall;
    m_frame.cpuMs = end.cpu - m_frameStart.cpu;
    for (size_t i = 0; i < m_passQuery.size() && i < m_frame.passes.size(); ++i)
        if (m_passQuery[i]) {
            GLuint64 ns = 0;
            query_result(m_passQuery[i], GL_QUERY_RESULT, &ns);
            m_frame.passes[i].gpuMs = double(ns) / 1e6;
        }
    for (size_t i = 0; i < m_passFragments.size() && i < m_frame.passes.size(); ++i)
        if (m_passFragments[i]) {
            GLuint64 n = 0;
            query_result(m_passFragments[i], GL_QUERY_RESULT, &n);
            m_frame.passes[i].fragments = long(n);
        }
    return m_frame;
}

void cProfileTimer::pass_begin(const std::string& shader)
{
    if (m_inPass)
        pass_end();
    PassFigure p;
    p.shader = shader;
    p.scope = m_scopes.empty() ? "composition" : m_scopes.back();
    p.pixels = viewport_pixels();
    p.samples = m_pendingSamples > 0.f ? m_pendingSamples : ::pass_samples(shader);
    m_pendingSamples = -1.f;
    m_passStart = mark_finished();
    unsigned q = 0, f = 0;
    if (m_queries) {
        q = query_for(m_queryPool, m_frame.passes.size());
        begin_query(GL_TIME_ELAPSED, q);
    }
    if (m_fragments) {
        f = query_for(m_fragmentPool, m_frame.passes.size());
        begin_query(GL_SAMPLES_PASSED, f);
    }
    m_frame.passes.push_back(p);
    m_passQuery.push_back(q);
    m_passFragments.push_back(f);
    m_inPass = true;
    m_plainPass = false;
}

bool cProfileTimer::plain_begin(const char* what)
{
    if (m_inPass)
        return false;
    pass_begin(what);
    m_plainPass = true;
    return true;
}

void cProfileTimer::plain_end()
{
    if (m_plainPass)
        pass_end();
}

void cProfileTimer::pass_end()
{
    if (!m_inPass)
        return;
    m_inPass = false;
    m_plainPass = false;
    if (m_queries)
        end_query(GL_TIME_ELAPSED);
    if (m_fragments)
        end_query(GL_SAMPLES_PASSED);
    const Mark end = mark_finished();
    PassFigure& p = m_frame.passes.back();
    p.ms = end.wall - m_passStart.wall;
    p.cpuMs = end.cpu - m_passStart.cpu;
}

void cProfileTimer::scope_begin(const std::string& name)
{
    m_scopes.push_back(name);
    m_scopeStart = mark_finished();
}

void cProfileTimer::scope_end()
{
    if (m_scopes.empty())
        return;
    const Mark end = mark_finished();
    m_frame.layerMs.emplace_back(m_scopes.back(), end.wall - m_scopeStart.wall);
    m_scopes.pop_back();
}

CopyCosts cProfileTimer::measure_copies(int repeats)
{
    CopyCosts costs;
    const bool first = m_copyTargets.empty();
    size_t k = 0;
    for (eRTT type : {RTT_FULL, RTT_HALF, RTT_QUATER, RTT_EIGHTH}) {
        uint32_t w = 0, h = 0;
        cRenderTargetManager::target_size(type, w, h);
        if (first) {
            // Targets of its own, outside the show's pool, kept for the run.
            for (int i = 0; i < 2; ++i) {
                m_copyTargets.push_back(std::make_unique<cRenderTarget_fbo>(w, h));
                m_copyTargets.back()->create();
            }
            glClearColor(0.3f, 0.5f, 0.7f, 1.f);
            m_copyTargets[k]->bind(true);
            m_copyTargets[k]->unbind();
            glClearColor(0.f, 0.f, 0.f, 0.f);
        }
        cRenderTarget_fbo& src = *m_copyTargets[k];
        cRenderTarget_fbo& dst = *m_copyTargets[k + 1];
        k += 2;
        std::vector<double> ms;
        // The first copy warms caches, code and the renderer's threads.
        for (int i = -1; i < repeats; ++i) {
            dst.bind(false);
            const Mark a = mark_finished();
            draw_target(&src);
            const Mark b = mark_finished();
            dst.unbind();
            if (i >= 0)
                ms.push_back(b.wall - a.wall);
        }
        std::sort(ms.begin(), ms.end());
        costs.pixels.push_back(long(w) * long(h));
        costs.ms.push_back(ms.empty() ? 0 : ms[ms.size() / 2]);
    }
    return costs;
}
