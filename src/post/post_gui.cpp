// Slider-panel rows for the pass parameter records.
#include "gui/cGuiVarList.h"
#include "platform/WindowConfig.h"
#include "post/post.h"

void add_sinenoise_gui(cGuiVarList& list, cSineNoiseParams& p)
{
    for (int i = 0; i < 4; ++i)
        list.addFloat("scale" + std::to_string(i), &p.scales[i], 0.f, 50.f);
    for (int i = 0; i < 4; ++i)
        list.addFloat("phase" + std::to_string(i), &p.phases[i], 0.f, 1.f);
    for (int i = 0; i < 4; ++i)
        list.addFloat("timescl" + std::to_string(i), &p.timescales[i], 0.f, 100.f);
    list.addFloat("threshold", &p.threshold, 0.f, 100.f);
}

void add_radialblur_gui(cGuiVarList& list, cRadialBlurParams& p)
{
    const WindowConfig* w = window_config();
    list.addFloat("center_x", &p.center_x, 0.f, float(w->renderWidth));
    list.addFloat("center_y", &p.center_y, 0.f, float(w->render_area_height()));
    list.addFloat("distance", &p.dist, 0.f, 500.f);
    list.addFloat("num_samples", &p.num_samples, 1.f, 100.f);
    list.addFloat("propagation", &p.propagation, 0.f, 2.f);
    list.addFloat("multiplier", &p.multiplier, 0.f, 5.f);
}

void add_levels_gui(cGuiVarList& list, cLevelsParams& p)
{
    list.addFloat("in black", &p.in_black, 0.f, 255.f);
    list.addFloat("in white", &p.in_white, 0.f, 255.f);
    list.addFloat("gamma", &p.gamma, 0.f, 4.f);
    list.addFloat("out black", &p.out_black, 0.f, 255.f);
    list.addFloat("out white", &p.out_white, 0.f, 255.f);
}

void add_hsb_gui(cGuiVarList& list, cHSBParams& p)
{
    list.addFloat("hue", &p.hue, -180.f, 180.f);
    list.addFloat("saturation", &p.saturation, -100.f, 100.f);
    list.addFloat("brightness", &p.brightness, -100.f, 100.f);
}
