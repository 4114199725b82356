#pragma once
// One directional blur pass along sampledir (pixel step direction), with
// the alpha channel (cShdBlurTex) or without it (cShdBlurTexNoAlpha).
// Parameter 1: two floats; (1, 0) after loading.
#include "shaders/cShader_CG.h"

class cShdBlurTex : public cShader_CG {
public:
    cShdBlurTex(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
        : cShdBlurTex(m, vp, fp, "cg_blurtex_vert.cg", "cg_blurtex_frag.cg")
    {
    }
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float sampledir[2] = {1.f, 0.f};
    shrt::Parameter* h_sampledir = nullptr;

protected:
    cShdBlurTex(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* vertexFile,
                const char* fragmentFile);
};

class cShdBlurTexNoAlpha : public cShdBlurTex {
public:
    cShdBlurTexNoAlpha(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp)
        : cShdBlurTex(m, vp, fp, "cg_blurtex_noalpha_vert.cg", "cg_blurtex_noalpha_frag.cg")
    {
    }
};
