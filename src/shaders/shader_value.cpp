#include "shaders/shader_value.h"

#include <iostream>

#include "shaders/cShaderManager_CG.h"
#include "shaders/cShader_CG.h"

void cShaderInput::store(const float* values) const
{
    float converted[MAX_FIELDS];
    if (convert) {
        convert(values, converted);
        values = converted;
    }
    for (size_t i = 0; i < fields.size(); ++i)
        *fields[i] = values[i];
}

void cShaderValue::set(const float* values) const
{
    if (!m_input)
        return;
    m_input->store(values);
    if (m_manager->bound_shader() == m_shader)
        m_shader->upload_parameters();
}

void cShaderValue::set(float value) const
{
    if (m_input && m_input->count() != 1) {
        std::cerr << "## WARNING: " << m_shader->class_name() << "::set_parameter(" << m_input->id << "): expected "
                  << m_input->count() << " floats, value ignored" << std::endl;
        return;
    }
    set(&value);
}

const cShaderValue& cShaderValueRef::found()
{
    cShaderManager_CG* sm = get_shader_manager();
    if (!m_value || m_managerSerial != sm->serial()) {
        m_value = sm->value(m_shader, m_id);
        m_managerSerial = sm->serial();
    }
    return m_value;
}
