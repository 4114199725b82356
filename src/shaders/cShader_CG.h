#pragma once
// A shader made of a vertex and a fragment program of the shader runtime,
// loaded from files found through the resource path. Concrete classes
// (cShd...) add their parameter values and handles.
#include <set>
#include <string>

#include "shader_runtime/shader_runtime.h"
#include "shaders/cShader.h"

class cShaderManager_CG;

class cShader_CG : public cShader {
public:
    cShader_CG(cShaderManager_CG* manager, shrt::Profile* vertexProfile, shrt::Profile* fragmentProfile);
    ~cShader_CG() override;

    // A compile failure ends the process (exit code 0); never returns false.
    bool load_from_files(std::string vertexFile, std::string fragmentFile) override;
    void bind() override;
    void unbind() override;
    // Shaders without parameters accept none: throws.
    void set_parameter(int id, const iVar* value) override;

    // The manager's context is gone and took the programs with it: forget
    // them, so that the destructor releases nothing twice.
    void forget_programs();

    cShaderManager_CG* manager;
    shrt::Profile vertex_profile;
    shrt::Profile fragment_profile;
    shrt::Program* vertex_program = nullptr;
    shrt::Program* fragment_program = nullptr;

protected:
    // For upload_parameters: true when the handle can be set. A handle that
    // was not found is set once (the runtime reports it), then skipped, so
    // a missing parameter is reported once and not every frame.
    bool uploadable(const shrt::Parameter* handle, int index);

    // Typed reads for set_parameter. A variable of another type is ignored
    // with a warning naming the shader and the parameter number.
    static bool read_float(const char* shader, int id, const iVar* value, float& out);
    static const float* read_floats(const char* shader, int id, const iVar* value);

private:
    std::set<int> m_reportedMissing;
};
