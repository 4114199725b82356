#pragma once
// Levels, then hue, saturation and brightness, in one program: parameter 1
// the five levels floats (as cShdLevels), parameter 2 the three of
// cShdPostHSB.
#include "shaders/cShdLevels.h"

class cShdLevelsHSB : public cShdLevels {
public:
    cShdLevelsHSB(cShaderManager_CG* m, shrt::Profile* vp, shrt::Profile* fp);
    void init_parameters() override;
    void upload_parameters() override;

    float H = 0.f, S = 1.f, B = 0.f;
    shrt::Parameter* h_H = nullptr;
    shrt::Parameter* h_S = nullptr;
    shrt::Parameter* h_B = nullptr;
};
