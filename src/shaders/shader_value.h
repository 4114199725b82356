#pragma once
// Shader values: what set_parameter's numbers name, found once.
//
// A shader declares its numbered values when it is made
// (cShader_CG::declare_values): for each number, the shader's fields its
// floats go to, in order, converted on the way where the shader keeps
// another unit than its callers give. The shader manager's value(name,
// number) finds one and hands out a cShaderValue; setting that stores the
// floats and, while the shader is bound, sends its parameters: no variable
// wrapper, no lookup by name or number, no switch. A cShaderValueRef names
// a value where it is used and finds it on its first use under each shader
// manager.
#include <vector>

class cShader_CG;
class cShaderManager_CG;

// The number a shader that takes one value whatever its number declares.
constexpr int ANY_VALUE_NUMBER = -1;

struct cShaderInput {
    static constexpr int MAX_FIELDS = 8;
    int id = 0;                  // set_parameter's number, or ANY_VALUE_NUMBER
    std::vector<float*> fields;  // where each float goes, in order
    // From the callers' unit to the shader's (fields.size() floats); null:
    // stored as given.
    void (*convert)(const float* in, float* out) = nullptr;

    int count() const { return int(fields.size()); }
    void store(const float* values) const;
};

class cShaderValue {
public:
    cShaderValue() = default;
    cShaderValue(cShaderManager_CG* manager, cShader_CG* shader, const cShaderInput* input)
        : m_manager(manager), m_shader(shader), m_input(input)
    {
    }
    // False for a value that was not found: setting it does nothing.
    explicit operator bool() const { return m_input != nullptr; }
    // count() floats.
    void set(const float* values) const;
    // A value of one float; one of more is left as it was, with a warning.
    void set(float value) const;
    int count() const { return m_input ? m_input->count() : 0; }

private:
    cShaderManager_CG* m_manager = nullptr;
    cShader_CG* m_shader = nullptr;
    const cShaderInput* m_input = nullptr;
};

class cShaderValueRef {
public:
    cShaderValueRef(const char* shader, int id) : m_shader(shader), m_id(id) {}
    void set(const float* values) { found().set(values); }
    void set(float value) { found().set(value); }

private:
    // The value under the current shader manager; looked up again only for
    // a new manager, or while the shader is not registered yet.
    const cShaderValue& found();

    const char* m_shader;
    int m_id;
    cShaderValue m_value;
    unsigned m_managerSerial = 0;
};
