#include "gui/cGuiVec3Slider.h"

cGuiVec3Slider::cGuiVec3Slider(float lo, float hi, float vx, float vy, float vz)
{
    const float values[3] = {vx, vy, vz};
    for (int k = 0; k < 3; ++k)
        sliders[k] = cGuiSlider(lo, hi, values[k]);
}

void cGuiVec3Slider::place()
{
    const float w = width / 3.1f;
    const float gap = (width - 3.f * w) / 2.f;
    for (int k = 0; k < 3; ++k) {
        sliders[k].setPosition(x + k * (w + gap), y);
        sliders[k].setSize(w, height);
    }
}

void cGuiVec3Slider::setPosition(float px, float py)
{
    cGuiRectangle::setPosition(px, py);
    place();
}

void cGuiVec3Slider::setSize(float w, float h)
{
    cGuiRectangle::setSize(w, h);
    place();
}

bool cGuiVec3Slider::handleEvent(int type, float px, float py)
{
    if (type == GUI_RELEASE) {
        for (cGuiSlider& s : sliders)
            s.handleEvent(type, px, py);
        return true;
    }
    for (cGuiSlider& s : sliders)
        if (s.handleEvent(type, px, py))
            return true;
    return false;
}

void cGuiVec3Slider::draw()
{
    for (cGuiSlider& s : sliders)
        s.draw();
}

bool cGuiVec3Slider::hitTest(float px, float py)
{
    for (cGuiSlider& s : sliders)
        if (s.hitTest(px, py))
            return true;
    return false;
}

bool cGuiVec3Slider::isActive()
{
    for (cGuiSlider& s : sliders)
        if (s.isActive())
            return true;
    return false;
}
