#include "gui/cGuiRectangle.h"

#include <GL/gl.h>

bool cGuiRectangle::hitTest(float px, float py)
{
    return px > x && px < x + width && py > y && py < y + height;
}

void cGuiRectangle::draw()
{
    GLfloat lineWidth = 1.f;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glLineWidth(1.f);
    glColor4fv(fill);
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + width, y);
    glVertex2f(x + width, y + height);
    glVertex2f(x, y + height);
    glEnd();
    glColor4fv(outline);
    glBegin(GL_LINE_LOOP);
    glVertex2f(x, y);
    glVertex2f(x + width, y);
    glVertex2f(x + width, y + height);
    glVertex2f(x, y + height);
    glEnd();
    glLineWidth(lineWidth);
}
