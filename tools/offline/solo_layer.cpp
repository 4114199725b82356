#include "offline/solo_layer.h"

#include <GL/gl.h>

#include "gl/gl_state.h"
#include "render/quad.h"
#include "runtime/cScene.h"
#include "shaders/cShaderManager_CG.h"

#if __has_include("scenes/cSceneComposition.h")
#include "scenes/cSceneComposition.h"

bool find_solo_layer(cScene* shown, const std::string& name, std::string& error)
{
    cSceneComposition* comp = dynamic_cast<cSceneComposition*>(shown);
    if (!comp) {
        error = "--solo: the show's scene is not a composition of layers";
        return false;
    }
    std::string known;
    for (const auto& entry : comp->layers) {
        cScene* scene = entry.second.scene;
        if (!scene)
            continue;
        if (scene->getName() == name)
            return true;
        if (known.find("'" + scene->getName() + "'") == std::string::npos)
            known += (known.empty() ? "" : ", ") + ("'" + scene->getName() + "'");
    }
    error = "--solo '" + name + "': no layer scene of that name (there are " + known + ")";
    return false;
}

void draw_solo_layer(cScene* shown, const std::string& name, int t)
{
    cSceneComposition* comp = dynamic_cast<cSceneComposition*>(shown);
    if (!comp)
        return;
    for (const auto& entry : comp->layers) {
        const CompositionLayer& layer = entry.second;
        if (!layer.scene || t < layer.start || t > layer.end || layer.scene->getName() != name)
            continue;
        // As the composition renders a layer, without composing it.
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        cTmpRT picture = layer.scene->render(t / 1000);
        get_shader_manager()->unbind();
        glPopAttrib();
        if (picture) {
            apply_render_viewport();
            glDisable(GL_BLEND);
            draw_target(picture.get());
        }
        return;
    }
}
#else
bool find_solo_layer(cScene*, const std::string& name, std::string& error)
{
    error = "--solo '" + name + "': the show has no composition of layers";
    return false;
}

void draw_solo_layer(cScene*, const std::string&, int) {}
#endif
