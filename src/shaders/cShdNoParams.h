#pragma once
// Shaders without parameters: they only load their two files. Their
// set_parameter is the throwing default.
#include "shaders/cShader_CG.h"

class cShdNoParams : public cShader_CG {
public:
    cShdNoParams(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* vertexFile,
                 const char* fragmentFile)
        : cShader_CG(m, vp, fp)
    {
        load_from_files(vertexFile, fragmentFile);
    }
    void init_parameters() override {}
    void upload_parameters() override {}
    void on_unbind() override {}
};

#define WENDIT_NO_PARAM_SHADER(cls, vert, frag)                                         \
    class cls : public cShdNoParams {                                                   \
    public:                                                                             \
        static constexpr const char* VERTEX_FILE = vert;                                \
        static constexpr const char* FRAGMENT_FILE = frag;                              \
        cls(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)                 \
            : cShdNoParams(m, vp, fp, vert, frag)                                       \
        {                                                                               \
        }                                                                               \
    }
