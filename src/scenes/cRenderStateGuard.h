#pragma once
// Saves every attribute and the projection and model-view matrices while a
// scene renders, and puts them back when it ends: a layer scene sets up its
// own camera and lights and leaves the composition's state as it was.
#include <GL/gl.h>

class cRenderStateGuard {
public:
    cRenderStateGuard()
    {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~cRenderStateGuard()
    {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
    cRenderStateGuard(const cRenderStateGuard&) = delete;
    cRenderStateGuard& operator=(const cRenderStateGuard&) = delete;
};
