#include "shaders/cShdLightSwitched.h"

#include <GL/gl.h>

cShdLightSwitched::cShdLightSwitched(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp,
                                     const char* vertexFile, const char* fragmentFile, bool switchInFragment)
    : cShader_CG(m, vp, fp), m_switchInFragment(switchInFragment)
{
    load_from_files(vertexFile, fragmentFile);
}

void cShdLightSwitched::init_parameters()
{
    h_lighting = shrt::named_parameter(m_switchInFragment ? fragment_program : vertex_program, "lighting");
}

void cShdLightSwitched::upload_parameters()
{
    if (uploadable(h_lighting, 0))
        shrt::set_parameter_1f(h_lighting, glIsEnabled(GL_LIGHTING) ? 1.f : 0.f);
}
