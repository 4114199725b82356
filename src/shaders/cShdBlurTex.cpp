#include "shaders/cShdBlurTex.h"

cShdBlurTex::cShdBlurTex(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* vertexFile,
                         const char* fragmentFile)
    : cShader_CG(m, vp, fp)
{
    declare_values("cShdBlurTex", {{1, {&sampledir[0], &sampledir[1]}}});
    load_from_files(vertexFile, fragmentFile);
    sampledir[0] = 1.f;
    sampledir[1] = 0.f;
}

// The handle is not tested: a blur without direction would still run.
void cShdBlurTex::init_parameters()
{
    h_sampledir = shrt::named_parameter(fragment_program, "sampledir");
}

void cShdBlurTex::upload_parameters()
{
    if (uploadable(h_sampledir, 0))
        shrt::set_parameter_2fv(h_sampledir, sampledir);
}
