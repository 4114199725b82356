#pragma once
// Levels on a 0..255 scale. Parameter 1: five floats, inBlack, inWhite,
// Gamma, outBlack, outWhite (200, 255, 1, 0, 255 after loading).
#include "shaders/cShader_CG.h"

class cShdLevels : public cShader_CG {
public:
    cShdLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    // The same value in other programs (levels at the end of a draw).
    cShdLevels(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp, const char* vertexFile,
               const char* fragmentFile);
    void init_parameters() override;
    void upload_parameters() override;
    void on_unbind() override {}

    float inBlack = 200.f, inWhite = 255.f, Gamma = 1.f, outBlack = 0.f, outWhite = 255.f;
    shrt::Parameter* h_inBlack = nullptr;
    shrt::Parameter* h_inWhite = nullptr;
    shrt::Parameter* h_Gamma = nullptr;
    shrt::Parameter* h_outBlack = nullptr;
    shrt::Parameter* h_outWhite = nullptr;

protected:
    // Value 1, the five floats, for a derived program's own declaration.
    cShaderInput levels_input();
};
