#include "scenes/cSceneSpacesphere.h"

#include <GL/gl.h>

cTmpRT cSceneSpacesphere::render(int)
{
    cTmpRT rt = get_tmp_rt(RTT_HALF);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    rt->bind(true);
    rt->unbind();
    return rt;
}
