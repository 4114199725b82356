#include "shaders/cShaderManager_CG.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "gl/gl_check.h"
#include "render/pass_profile.h"
#include "util/fatal_exit.h"

namespace {
cShaderManager_CG* g_manager = nullptr;
unsigned g_managersMade = 0;

const char* const DASHES = "---------------------------------------------------";

// Runs after every failing runtime call. It does not end the process: a
// failed compile ends it on its own path, a failed upload lets the show go
// on.
void cg_error_callback()
{
    const shrt::Error e = shrt::get_error();
    if (e == shrt::NO_ERROR)
        return;
    cShaderManager_CG* m = g_manager;
    std::cerr << "\n" << DASHES << "\n" << shrt::error_string(e) << "\n";
    if (const char* listing = m ? shrt::last_listing(m->context) : nullptr)
        std::cerr << listing << "\n";
    std::cerr << DASHES << "\n"
              << "last-shader: " << (m ? m->current : std::string("null_shader")) << "\n"
              << "Cg error, exiting..." << std::endl;
}

bool runtime_supports(shrt::Profile p)
{
    return shrt::is_profile_supported(p);
}
}  // namespace

cShaderManager_CG* get_shader_manager()
{
    if (!g_manager)
        g_manager = new cShaderManager_CG();
    return g_manager;
}

void destroy_shader_manager()
{
    delete g_manager;
    g_manager = nullptr;
}

bool shader_manager_exists()
{
    return g_manager != nullptr;
}

cShaderManager_CG::cShaderManager_CG() : m_serial(++g_managersMade) {}

cShaderManager_CG::~cShaderManager_CG()
{
    if (context) {
        shrt::destroy_context(context);
        context = nullptr;
    }
    for (auto& entry : shaders) {
        if (auto* s = dynamic_cast<cShader_CG*>(entry.second))
            s->forget_programs();
        delete entry.second;
    }
    shaders.clear();
    shader_stack.clear();
    if (g_manager == this)
        shrt::set_error_callback(nullptr);
}

bool cShaderManager_CG::choose_profiles(bool (*supported)(shrt::Profile), shrt::Profile& vertex,
                                        shrt::Profile& fragment, std::ostream& out)
{
    if (!supported(shrt::CG_PROFILE_ARBVP1)) {
        out << "## ERROR while initializing Cg: insufficient vertex-programming capabilities detected - exiting"
            << std::endl;
        return false;
    }
    vertex = shrt::CG_PROFILE_ARBVP1;
    out << "# Cg: Chose cg vertex-profile:\tCG_PROFILE_ARBVP1" << std::endl;
    if (!supported(shrt::CG_PROFILE_ARBFP1)) {
        out << "## ERROR while initializing Cg: insufficient fragment programming capabilities detected - exiting!"
            << std::endl;
        return false;
    }
    fragment = shrt::CG_PROFILE_ARBFP1;
    out << "# Cg: Chose cg fragment-profile:\tCG_PROFILE_ARBFP1" << std::endl;
    return true;
}

void cShaderManager_CG::init_cg()
{
    std::cout << "# Cg: Cg compiletime version: " << shrt::COMPILETIME_VERSION << std::endl;
    if (!choose_profiles(runtime_supports, vertex_profile, fragment_profile, std::cout))
        end_process(-1);
    shrt::set_error_callback(cg_error_callback);
    context = shrt::create_context();
    unbind();
}

cShader* cShaderManager_CG::find(const std::string& name) const
{
    auto it = shaders.find(name);
    return it == shaders.end() ? nullptr : it->second;
}

void cShaderManager_CG::bind(const std::string& name)
{
    if (current != "null_shader")
        unbind();
    shrt::enable_profile(vertex_profile);
    shrt::enable_profile(fragment_profile);
    cShader* s = find(name);
    if (!s) {
        std::cerr << "#WARNING in cShaderManager_CG::bind: trying to bind unknown shader: \"" << name << "\""
                  << std::endl;
        return;
    }
    current = name;
    m_bound = s;
    s->bind();
    if (iPassListener* l = pass_listener())
        l->pass_begin(name);
}

void cShaderManager_CG::unbind()
{
    if (!context) {
        std::cerr << "## ERROR in cShaderManager_CG.cpp line " << __LINE__ << ": no current CG-context available!"
                  << std::endl;
        return;
    }
    if (current == "null_shader")
        return;
    if (cShader* s = find(current))
        s->unbind();
    const std::string pass = current;
    current = "null_shader";
    m_bound = nullptr;
    shrt::disable_profile(vertex_profile);
    shrt::disable_profile(fragment_profile);
    // Every image pass ends here, with its shader.
    if (iPassListener* l = pass_listener())
        l->pass_end();
    gl_check_after("the pass with shader \"" + pass + "\"");
}

void cShaderManager_CG::push_shader()
{
    shader_stack.push_back(current);
}

void cShaderManager_CG::pop_shader()
{
    if (shader_stack.empty()) {
        std::cerr << "## DEBUG-ERROR in cShaderManager_CG::pop_shader: the shader stack is empty, nothing to restore"
                  << std::endl;
        return;
    }
    const std::string name = shader_stack.back();
    if (name == "null_shader")
        unbind();
    else
        bind(name);
    shader_stack.pop_back();
}

void cShaderManager_CG::set_parameter(const std::string& name, int id, const iVar* value)
{
    cShader* s = find(name);
    if (!s) {
        std::cerr << "#WARNING in cShaderManager_CG::set_parameter: unknown shader: \"" << name << "\"" << std::endl;
        return;
    }
    s->set_parameter(id, value);
    if (name == current)
        s->upload_parameters();
}

cShaderValue cShaderManager_CG::value(const std::string& name, int id)
{
    auto* s = dynamic_cast<cShader_CG*>(find(name));
    if (!s) {
        std::cerr << "#WARNING in cShaderManager_CG::value: unknown shader: \"" << name << "\"" << std::endl;
        return {};
    }
    const cShaderInput* in = s->value_input(id);
    if (!in) {
        std::cerr << "#WARNING in cShaderManager_CG::value: shader \"" << name << "\" takes no parameter " << id
                  << std::endl;
        return {};
    }
    return cShaderValue(this, s, in);
}
