#pragma once
// Tweakable variables.
//
// An iVar is a named, typed reference to a value that lives elsewhere (a
// scene member, a shader constant, a caller's local). The slider panel binds
// one to each slider, the shader manager reads parameter values out of them
// and interpolators write into them. The variable never owns its target: the
// target must outlive it.
//
// Consumers that need a particular type test the dynamic type
// (dynamic_cast<cVar<float>*>) and then read through getPointer().
// cVar exists for exactly six types: int, float, double, float*,
// Vec3<float> and std::string.
#include <string>

#include "tweak/Vec3.h"

class iVar {
public:
    // Virtual so the panel can free the variables it holds through iVar*.
    virtual ~iVar() = default;
    virtual std::string getName() const = 0;
    virtual std::string toString() const = 0;
    // Copies one value of the variable's type from *source into the target.
    virtual void setValue(const void* source) = 0;
    virtual void* getPointer() = 0;
};

template <typename T>
class cVar : public iVar {
public:
    cVar(const std::string& name, T* target) : m_name(name), m_target(target) {}

    std::string getName() const override { return m_name; }
    std::string toString() const override;
    void setValue(const void* source) override { *m_target = *static_cast<const T*>(source); }
    void* getPointer() override { return m_target; }

private:
    std::string m_name;
    T* m_target;
};

// float* prints the address; std::string prints the text itself.
template <> std::string cVar<float*>::toString() const;
template <> std::string cVar<std::string>::toString() const;

extern template class cVar<int>;
extern template class cVar<float>;
extern template class cVar<double>;
extern template class cVar<float*>;
extern template class cVar<Vec3<float>>;
extern template class cVar<std::string>;
