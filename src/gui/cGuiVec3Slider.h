#pragma once
// Three sliders side by side, for x, y and z of a Vec3.
#include "gui/cGuiSlider.h"

class cGuiVec3Slider : public cGuiRectangle {
public:
    cGuiVec3Slider(float lo, float hi, float vx, float vy, float vz);

    bool handleEvent(int type, float px, float py) override;
    void draw() override;
    bool hitTest(float px, float py) override;
    bool isActive() override;
    void setPosition(float px, float py) override;
    void setSize(float w, float h) override;

    cGuiSlider sliders[3];

private:
    void place();
};
