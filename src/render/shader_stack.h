#pragma once
// The stack of bound shaders a pass saves on entering and restores on
// leaving. The shader manager is one; the render floor names only this
// face of it, so that the pass state can keep the bound shader without
// knowing what a shader is.
class iShaderStack {
public:
    // Remembers the shader bound now.
    virtual void push_shader() = 0;
    // Binds the shader remembered last again (or none) and forgets it.
    virtual void pop_shader() = 0;

protected:
    virtual ~iShaderStack() = default;
};
