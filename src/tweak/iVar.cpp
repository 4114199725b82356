#include "tweak/iVar.h"

#include <sstream>

// A fresh stream per call with default formatting, so an unchanged value
// always gives the same text (floats: six significant digits, shortest form).
template <typename T>
std::string cVar<T>::toString() const
{
    std::ostringstream os;
    os << *m_target;
    return os.str();
}

template <>
std::string cVar<float*>::toString() const
{
    std::ostringstream os;
    os << static_cast<const void*>(*m_target);
    return os.str();
}

template <>
std::string cVar<std::string>::toString() const
{
    return *m_target;
}

template class cVar<int>;
template class cVar<float>;
template class cVar<double>;
template class cVar<float*>;
template class cVar<Vec3<float>>;
template class cVar<std::string>;
