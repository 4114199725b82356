#pragma once
// Parameter records of the image passes, owned by the calling scene and
// usually also on its slider panel.
#include "render/iRenderTarget.h"

struct cSineNoiseParams {
    float scales[4];
    float phases[4];
    float curtime;
    float texheight;  // pixels
    float timescales[4];
    float threshold;
    int size_class;  // eRTT
};

struct cRadialBlurParams {
    float center_x, center_y;  // pixels
    float dist;
    float num_samples;
    float propagation;
    float multiplier;
    int size_class;  // eRTT of the intermediate target
};

// On a 0..255 scale.
struct cLevelsParams {
    float in_black, in_white, gamma, out_black, out_white;
};

struct cHSBParams {
    float hue;         // degrees
    float saturation;  // percent
    float brightness;  // percent
};

struct cGlowParams {
    int size_class;  // eRTT of the glow target
    float threshold_low;
    float threshold_high;
};

// Composition modes of comp: 0 over, 1 add, 3 screen, 4 dodge, 5 modulate.
enum eCompMode { COMP_OVER = 0, COMP_ADD = 1, COMP_SCREEN = 3, COMP_DODGE = 4, COMP_MODULATE = 5 };
