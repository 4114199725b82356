#include "gui/cGuiSlider.h"

#include <GL/gl.h>

#include <algorithm>

bool cGuiSlider::handleEvent(int type, float px, float py)
{
    switch (type) {
    case GUI_QUERY1:
    case GUI_QUERY2:
    case GUI_QUERY3:
        return hitTest(px, py);
    case GUI_DRAG: {
        if (!grabbed)
            return false;
        if (usable()) {
            const float t = (px - x) / width;
            const float v = (1.f - t) * minimum + t * maximum;
            value = std::min(std::max(v, std::min(minimum, maximum)), std::max(minimum, maximum));
        }
        return true;
    }
    case GUI_GRAB:
        if (!hitTest(px, py))
            return false;
        grabbed = 1;
        return true;
    case GUI_RELEASE:
        grabbed = 0;
        return true;
    default:
        return false;
    }
}

void cGuiSlider::draw()
{
    cGuiRectangle::draw();
    if (!usable())
        return;
    const float span = maximum - minimum;
    const float z = std::max(0.f, (0.f - minimum) / span);
    const float v = (value - minimum) / span;
    const float a = grabbed ? 0.75f : 0.5f;
    if (value > 0.f)
        glColor4f(1.f, 1.f, 1.f, a);
    else
        glColor4f(0.f, 0.f, 0.f, a);
    const float zx = x + z * width, vx = x + v * width;
    glBegin(GL_QUADS);
    glVertex2f(zx, y);
    glVertex2f(vx, y);
    glVertex2f(vx, y + height);
    glVertex2f(zx, y + height);
    glEnd();
    glBegin(GL_LINES);
    glColor4f(1.f, 0.f, 0.f, 0.5f);
    glVertex2f(zx, y);
    glVertex2f(zx, y + height);
    glColor4f(1.f, 1.f, 1.f, 1.f);
    glVertex2f(vx, y);
    glVertex2f(vx, y + height);
    glEnd();
}
