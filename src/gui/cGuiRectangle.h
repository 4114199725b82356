#pragma once
// A filled, outlined rectangle: the base of sliders and of the panel.
#include "gui/iGuiNode.h"

class cGuiRectangle : public iGuiNode {
public:
    bool handleEvent(int, float, float) override { return false; }
    void draw() override;
    // Strictly inside.
    bool hitTest(float px, float py) override;
    void setPosition(float px, float py) override { x = px; y = py; }
    void getPosition(float& px, float& py) override { px = x; py = y; }
    bool isActive() override = 0;
    virtual void setSize(float w, float h) { width = w; height = h; }

    float outline[4] = {1.f, 1.f, 1.f, 0.25f};
    float fill[4] = {1.f, 1.f, 1.f, 0.15f};
    float width = -1.f, height = -1.f;
    float x = -1.f, y = -1.f;  // lower-left corner
};
