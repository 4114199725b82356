#pragma once
// Hooks for the frame profiler (`wendit profile`). Off unless a listener is
// attached: each hook is then one pointer test. The shader manager reports
// every shader draw (bind to unbind) as a pass, a draw made with no shader
// bound (a plain copy, a mesh lit by the fixed pipeline) is a pass of its
// own through cPlainDrawScope, the composition brackets each layer scene's
// render with a cProfileScope, and a pass that samples its input many times
// per pixel says how many.
#include <string>

class iPassListener {
public:
    virtual ~iPassListener() = default;
    virtual void pass_begin(const std::string& shader) = 0;
    virtual void pass_end() = 0;
    // Texture samples per output pixel of the pass now running.
    virtual void pass_samples(float samples) = 0;
    // A draw outside any shader's pass opens one named `what` and returns
    // true; inside a pass it adds nothing and returns false.
    virtual bool plain_begin(const char* what) = 0;
    // Ends the pass plain_begin opened, unless a shader's pass took over.
    virtual void plain_end() = 0;
    virtual void scope_begin(const std::string& name) = 0;
    virtual void scope_end() = 0;
};

// The attached listener (null: profiling off). Not owned.
void set_pass_listener(iPassListener* listener);
iPassListener* pass_listener();

inline void note_pass_samples(float samples)
{
    if (iPassListener* l = pass_listener())
        l->pass_samples(samples);
}

// Names the work done while it lives (a layer scene's render).
class cProfileScope {
public:
    explicit cProfileScope(const std::string& name) : m_listener(pass_listener())
    {
        if (m_listener)
            m_listener->scope_begin(name);
    }
    ~cProfileScope()
    {
        if (m_listener)
            m_listener->scope_end();
    }
    cProfileScope(const cProfileScope&) = delete;
    cProfileScope& operator=(const cProfileScope&) = delete;

private:
    iPassListener* m_listener;
};

// A draw without a shader of its own, timed as a pass when none is open.
class cPlainDrawScope {
public:
    explicit cPlainDrawScope(const char* what) : m_listener(pass_listener())
    {
        if (m_listener && !m_listener->plain_begin(what))
            m_listener = nullptr;
    }
    ~cPlainDrawScope()
    {
        if (m_listener)
            m_listener->plain_end();
    }
    cPlainDrawScope(const cPlainDrawScope&) = delete;
    cPlainDrawScope& operator=(const cPlainDrawScope&) = delete;

private:
    iPassListener* m_listener;
};
