#pragma once
// Interpolators: animate tweakable variables over closed windows of demo
// time [start, end].
//
// A scene owns a list of them and runs it once per frame from its update
// (cScene::update_interpolators). In the window an interpolator writes its
// value every frame; on the first run after it leaves the window it writes
// once more, so the variable ends exactly on the end value (or the start
// value after a jump backwards), and then leaves the variable alone. Several
// interpolators on one variable run in list order: the last active one wins.
#include <string>

#include "tweak/iVar.h"

class cInterpolator {
public:
    cInterpolator(iVar* target, int start, int end, bool ownsTarget = false)
        : target(target), start(start), end(end), m_ownsTarget(ownsTarget) {}
    virtual ~cInterpolator();
    cInterpolator(const cInterpolator&) = delete;
    cInterpolator& operator=(const cInterpolator&) = delete;

    // Writes the value for time *t into the target.
    virtual void apply(int* t) = 0;
    // start <= *t <= end.
    virtual bool isActive(int* t) { return start <= *t && *t <= end; }

    iVar* target;  // null when a name lookup found nothing: then nothing is written
    int lastApplied = -1;  // demo time of the last in-window application
    int start;
    int end;

protected:
    // Position in the window, 0..1; 0 for 0/0 and any other non-number.
    float unit(int t) const;

private:
    bool m_ownsTarget;
};

template <typename T>
class cLerp;
template <typename T>
class cSmoothStep;
template <typename T>
class cSetVar;

// (1 - u) * from + u * to.
template <>
class cLerp<float> : public cInterpolator {
public:
    cLerp(iVar* target, int start, int end, float from, float to)
        : cInterpolator(target, start, end), from(from), to(to) {}
    // Wraps a raw float in an unnamed variable that the interpolator owns.
    cLerp(float* value, int start, int end, float from, float to)
        : cInterpolator(new cVar<float>("", value), start, end, true), from(from), to(to) {}
    void apply(int* t) override;
    float from, to;
};

// u^2 (3 - 2u) * (to - from) + from.
template <>
class cSmoothStep<float> : public cInterpolator {
public:
    cSmoothStep(iVar* target, int start, int end, float from, float to)
        : cInterpolator(target, start, end), from(from), to(to) {}
    void apply(int* t) override;
    float from, to;
};

// Writes one value whatever the time in the window.
template <typename T>
class cSetVar : public cInterpolator {
public:
    cSetVar(iVar* target, int start, int end, T value) : cInterpolator(target, start, end), value(value) {}
    void apply(int* t) override;
    T value;
};

extern template class cSetVar<int>;
extern template class cSetVar<float>;

// A bare time window: writes nothing. Scenes create one per note and read
// start and end themselves.
class cIntervalLerp : public cInterpolator {
public:
    cIntervalLerp(int start, int end) : cInterpolator(nullptr, start, end) {}
    void apply(int*) override {}
};
