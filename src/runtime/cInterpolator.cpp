#include "runtime/cInterpolator.h"

#include <cstdint>

namespace {
// The target as a cVar<T>, or null when it is missing or of another type.
template <typename T>
cVar<T>* typed(iVar* v)
{
    return dynamic_cast<cVar<T>*>(v);
}
}  // namespace

cInterpolator::~cInterpolator()
{
    if (m_ownsTarget)
        delete target;
}

float cInterpolator::unit(int t) const
{
    float u = float(int64_t(t) - start) / float(int64_t(end) - start);
    if (!(u == u))  // 0/0 when start == end == t
        return 0.f;
    return u < 0.f ? 0.f : (u > 1.f ? 1.f : u);
}

void cLerp<float>::apply(int* t)
{
    cVar<float>* v = typed<float>(target);
    if (!v)
        return;
    float u = unit(*t);
    float value = (1.f - u) * from + u * to;
    v->setValue(&value);
}

void cSmoothStep<float>::apply(int* t)
{
    cVar<float>* v = typed<float>(target);
    if (!v)
        return;
    float u = unit(*t);
    float value = u * u * (3.f - 2.f * u) * (to - from) + from;
    v->setValue(&value);
}

template <typename T>
void cSetVar<T>::apply(int*)
{
    cVar<T>* v = typed<T>(target);
    if (v)
        v->setValue(&value);
}

template class cSetVar<int>;
template class cSetVar<float>;
