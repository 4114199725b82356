#pragma once
// The shader manager: owns the shader runtime's context and profiles, holds
// every shader under its registered name, binds and unbinds by name, keeps
// a stack of bound names for nested passes, and forwards parameter values.
//
// "null_shader" names the unbound state; it is never registered. A pass
// that needs its own shader runs push_shader, bind, draw, pop_shader, and
// whatever was bound before is bound again afterwards.
#include <deque>
#include <iosfwd>
#include <iostream>
#include <map>
#include <string>

#include "render/shader_stack.h"
#include "shader_runtime/shader_runtime.h"
#include "shaders/cShader_CG.h"
#include "shaders/shader_value.h"

class iVar;

class cShaderManager_CG : public iShaderStack {
public:
    cShaderManager_CG();
    // Teardown: the context goes first and takes every program with it.
    ~cShaderManager_CG();
    cShaderManager_CG(const cShaderManager_CG&) = delete;
    cShaderManager_CG& operator=(const cShaderManager_CG&) = delete;

    // Prints the version and profile lines, installs the error callback and
    // creates the context. Missing profiles end the process (exit code -1).
    void init_cg();
    void bind(const std::string& name);
    void unbind();
    void push_shader() override;
    void pop_shader() override;
    // Stores value as parameter number id of the named shader (sent at
    // once when it is bound). What scenes call now and then; a value set on
    // every frame is found once with value() instead.
    void set_parameter(const std::string& name, int id, const iVar* value);
    // Parameter number id of the named shader, found now: setting it later
    // is one call. An unknown shader or number gives an empty value, with a
    // warning.
    cShaderValue value(const std::string& name, int id);
    // The shader bound now; null when none is.
    cShader* bound_shader() const { return m_bound; }
    // Tells this manager from any made before it in the process.
    unsigned serial() const { return m_serial; }

    // Constructs a T and registers it under name, unless the name is taken.
    template <typename T>
    void add_shader(const std::string& name)
    {
        if (shaders.count(name)) {
            std::cerr << "# warning: shader \"" << name << "\" already exists! Skipping..." << std::endl;
            return;
        }
        shaders[name] = new T(this, &vertex_profile, &fragment_profile);
    }

    cShader* find(const std::string& name) const;
    bool has_shader(const std::string& name) const { return shaders.count(name) != 0; }

    // Chooses the two profiles with `supported`, writing the profile lines
    // (or the error line) to out. False when a profile is missing.
    static bool choose_profiles(bool (*supported)(shrt::Profile), shrt::Profile& vertex, shrt::Profile& fragment,
                                std::ostream& out);

    shrt::Context* context = nullptr;
    shrt::Profile vertex_profile = shrt::PROFILE_UNKNOWN;
    shrt::Profile fragment_profile = shrt::PROFILE_UNKNOWN;
    std::string current = "null_shader";
    std::map<std::string, cShader*> shaders;  // owned
    std::deque<std::string> shader_stack;

private:
    cShader* m_bound = nullptr;
    unsigned m_serial;
};

cShaderManager_CG* get_shader_manager();
// The exit hook's teardown.
void destroy_shader_manager();
bool shader_manager_exists();

// Constructs a T and registers it under name; a name taken already keeps
// its shader and is warned about.
template <typename T>
void register_shader(std::string name)
{
    get_shader_manager()->add_shader<T>(name);
}

// What scenes and passes call before they bind a shader by name: a T is
// registered under it unless a shader of that name is there already
// (whoever came first made it), and nothing is said either way.
template <typename T>
void ensure_shader(const std::string& name)
{
    if (!get_shader_manager()->has_shader(name))
        register_shader<T>(name);
}
