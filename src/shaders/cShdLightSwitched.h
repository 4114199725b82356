#pragma once
// Textured shaders that light with light 0 and the material only while GL
// lighting is on; with lighting off they multiply the texture by the
// current colour, as fixed-function texturing does. The lighting switch is
// read when the shader is bound and sent as the uniform "lighting" to the
// stage that decides.
#include "shaders/cShader_CG.h"

class cShdLightSwitched : public cShader_CG {
public:
    cShdLightSwitched(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* vertexFile,
                      const char* fragmentFile, bool switchInFragment);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    shrt::Parameter* h_lighting = nullptr;

private:
    bool m_switchInFragment;
};

#define WENDIT_LIGHT_SWITCHED_SHADER(cls, vert, frag, inFragment)                       \
    class cls : public cShdLightSwitched {                                              \
    public:                                                                             \
        static constexpr const char* VERTEX_FILE = vert;                                \
        static constexpr const char* FRAGMENT_FILE = frag;                              \
        cls(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)                 \
            : cShdLightSwitched(m, vp, fp, vert, frag, inFragment)                      \
        {                                                                               \
        }                                                                               \
    }
