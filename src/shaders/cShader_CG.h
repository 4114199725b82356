#pragma once
// A shader made of a vertex and a fragment program of the shader runtime,
// loaded from files found through the resource path. Concrete classes
// (cShd...) add their parameter values and handles.
#include <set>
#include <string>
#include <vector>

#include "shader_runtime/shader_runtime.h"
#include "shaders/cShader.h"
#include "shaders/shader_value.h"

class cShaderManager_CG;

class cShader_CG : public cShader {
public:
    cShader_CG(cShaderManager_CG* manager, shrt::Profile* vertexProfile, shrt::Profile* fragmentProfile);
    ~cShader_CG() override;

    // A compile failure ends the process (exit code 0); never returns false.
    // The two programs are linked here, and their parameters found.
    bool load_from_files(std::string vertexFile, std::string fragmentFile) override;
    void bind() override;
    void unbind() override;
    // Stores the value of number id (see declare_values) from a cVar<float>
    // for a value of one float, else from a cVar<float*>; a variable of
    // another type is ignored with a warning naming the shader and the
    // number, a number the shader does not take is ignored. Shaders that
    // declare no values accept none: throws.
    void set_parameter(int id, const iVar* value) override;

    // The value set_parameter(id, ...) stores; null when the shader takes
    // no value under that number.
    const cShaderInput* value_input(int id) const;
    // The class's name, as warnings give it.
    const char* class_name() const { return m_className; }

    // The manager's context is gone and took the programs with it: forget
    // them, so that the destructor releases nothing twice.
    void forget_programs();

    cShaderManager_CG* manager;
    shrt::Profile vertex_profile;
    shrt::Profile fragment_profile;
    shrt::Program* vertex_program = nullptr;
    shrt::Program* fragment_program = nullptr;

protected:
    // What the shader takes, declared once when it is made: the inputs'
    // addresses stay put from then on.
    void declare_values(const char* className, std::vector<cShaderInput> inputs);

    // For upload_parameters: true when the handle can be set. A handle that
    // was not found is set once (the runtime reports it), then skipped, so
    // a missing parameter is reported once and not every frame.
    bool uploadable(const shrt::Parameter* handle, int index);

private:
    // Typed reads for set_parameter. A variable of another type is ignored
    // with a warning naming the shader and the parameter number.
    static bool read_float(const char* shader, int id, const iVar* value, float& out);
    static const float* read_floats(const char* shader, int id, const iVar* value);

    std::set<int> m_reportedMissing;
    const char* m_className = "cShader_CG";
    std::vector<cShaderInput> m_inputs;
};
