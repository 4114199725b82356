#include "shaders/cShader_CG.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"
#include "tweak/iVar.h"
#include "util/fatal_exit.h"

namespace {
class not_implemented : public std::exception {
public:
    const char* what() const noexcept override { return "set_parameter not implemented for this shader"; }
};

shrt::Program* load_stage(cShaderManager_CG* manager, const std::string& file, shrt::Profile profile)
{
    const std::string full = get_resource_path()->get_fullpath(file);
    std::cerr << "Cg compiling\t" << full << "...";
    shrt::Program* program = shrt::create_program_from_file(manager->context, full.empty() ? file : full, profile);
    if (!program) {
        std::cerr << "## ERROR: cShader_CG::load_from_files() failed on " << file << std::endl;
        end_process(1);
    }
    std::cerr << " loading...";
    shrt::load_program(program);
    std::cerr << " done." << std::endl;
    return program;
}
}  // namespace

cShader_CG::cShader_CG(cShaderManager_CG* manager, shrt::Profile* vertexProfile, shrt::Profile* fragmentProfile)
    : manager(manager), vertex_profile(*vertexProfile), fragment_profile(*fragmentProfile)
{
}

cShader_CG::~cShader_CG()
{
    if (vertex_program)
        shrt::destroy_program(vertex_program);
    if (fragment_program)
        shrt::destroy_program(fragment_program);
}

void cShader_CG::forget_programs()
{
    vertex_program = nullptr;
    fragment_program = nullptr;
}

bool cShader_CG::load_from_files(std::string vertexFile, std::string fragmentFile)
{
    vertex_program = load_stage(manager, vertexFile, vertex_profile);
    fragment_program = load_stage(manager, fragmentFile, fragment_profile);
    // Linked now rather than on the first bind; a pair that does not link
    // is reported through the runtime's error callback, as a bind would.
    shrt::link_programs(vertex_program, fragment_program);
    init_parameters();
    return true;
}

void cShader_CG::bind()
{
    // Both stages in one step: GL switches once, to their linked pair.
    if (vertex_program)
        shrt::bind_programs(vertex_program, fragment_program);
    upload_parameters();
}

void cShader_CG::unbind()
{
    on_unbind();
    if (vertex_program)
        shrt::unbind_programs();
}

void cShader_CG::declare_values(const char* className, std::vector<cShaderInput> inputs)
{
    m_className = className;
    m_inputs = std::move(inputs);
    for (const cShaderInput& in : m_inputs)
        if (in.fields.empty() || in.count() > cShaderInput::MAX_FIELDS)
            throw std::invalid_argument(std::string(className) + ": a shader value takes 1 to 8 floats");
}

const cShaderInput* cShader_CG::value_input(int id) const
{
    for (const cShaderInput& in : m_inputs)
        if (in.id == id || in.id == ANY_VALUE_NUMBER)
            return &in;
    return nullptr;
}

void cShader_CG::set_parameter(int id, const iVar* value)
{
    if (m_inputs.empty())
        throw not_implemented();
    const cShaderInput* in = value_input(id);
    if (!in)
        return;
    if (in->count() == 1) {
        float v = 0.f;
        if (read_float(m_className, id, value, v))
            in->store(&v);
    } else if (const float* v = read_floats(m_className, id, value)) {
        in->store(v);
    }
}

bool cShader_CG::uploadable(const shrt::Parameter* handle, int index)
{
    if (handle)
        return true;
    return m_reportedMissing.insert(index).second;
}

bool cShader_CG::read_float(const char* shader, int id, const iVar* value, float& out)
{
    auto* v = dynamic_cast<const cVar<float>*>(value);
    if (!v) {
        std::cerr << "## WARNING: " << shader << "::set_parameter(" << id
                  << "): expected a cVar<float>, value ignored" << std::endl;
        return false;
    }
    out = *static_cast<const float*>(const_cast<cVar<float>*>(v)->getPointer());
    return true;
}

const float* cShader_CG::read_floats(const char* shader, int id, const iVar* value)
{
    auto* v = dynamic_cast<const cVar<float*>*>(value);
    const float* values = v ? *static_cast<float* const*>(const_cast<cVar<float*>*>(v)->getPointer()) : nullptr;
    if (!values) {
        std::cerr << "## WARNING: " << shader << "::set_parameter(" << id
                  << "): expected a cVar<float *> pointing at floats, value ignored" << std::endl;
        return nullptr;
    }
    return values;
}
