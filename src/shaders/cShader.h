#pragma once
// The shader interface: one vertex and one fragment program loaded from
// source files, bound and unbound as a pair, with numbered parameters that
// callers set through tweakable variables now and then, or on every frame
// through values found once (shaders/shader_value.h).
#include <string>

class iVar;

class cShader {
public:
    // Compiles and loads both programs, then looks the parameters up.
    virtual bool load_from_files(std::string vertexFile, std::string fragmentFile) = 0;
    // Binds the programs and sends the current parameter values.
    virtual void bind() = 0;
    virtual void unbind() = 0;
    virtual void init_parameters() = 0;
    // Stores a new value for parameter number id.
    virtual void set_parameter(int id, const iVar* value) = 0;
    // Sends every stored value to its program parameter.
    virtual void upload_parameters() = 0;
    // Runs at the start of unbind.
    virtual void on_unbind() = 0;
    virtual ~cShader() = default;
};
