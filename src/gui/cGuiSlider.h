#pragma once
// A horizontal slider over [minimum, maximum]. While grabbed, a drag sets
// the value from the pointer's x, clamped to the range. A slider whose
// range is empty (minimum == maximum) or that has no width yet shows only
// its frame and ignores drags.
#include "gui/cGuiRectangle.h"

class cGuiSlider : public cGuiRectangle {
public:
    cGuiSlider() = default;
    cGuiSlider(float lo, float hi, float v) : minimum(lo), maximum(hi), value(v) {}

    bool handleEvent(int type, float px, float py) override;
    void draw() override;
    bool isActive() override { return grabbed != 0; }
    bool usable() const { return maximum != minimum && width > 0.f; }

    float minimum = 0.f, maximum = 1.f, value = 0.f;
    unsigned char grabbed = 0;
};
