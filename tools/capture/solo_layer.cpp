#include "capture/solo_layer.h"

#include <GL/gl.h>

#include "app/gl_state.h"
#include "render/quad.h"
#include "runtime/cScene.h"

#if __has_include("scenes/cSceneComposition.h")
#include "scenes/cSceneComposition.h"
#define HAVE_COMPOSITION 1
#endif

#ifdef HAVE_COMPOSITION
namespace {
cSceneComposition* composition_of(cScene* shown)
{
    return dynamic_cast<cSceneComposition*>(shown);
}
}  // namespace

cScene* find_layer_scene(cScene* shown, const std::string& name, std::string& error)
{
    cSceneComposition* comp = composition_of(shown);
    if (!comp) {
        error = "--solo: the show's scene is not a composition of layers";
        return nullptr;
    }
    std::string known;
    for (const auto& entry : comp->layers) {
        cScene* scene = entry.second.scene;
        if (!scene)
            continue;
        if (scene->getName() == name)
            return scene;
        if (known.find("'" + scene->getName() + "'") == std::string::npos)
            known += (known.empty() ? "" : ", ") + ("'" + scene->getName() + "'");
    }
    error = "--solo '" + name + "': no layer scene of that name (there are " + known + ")";
    return nullptr;
}

void draw_solo_layer(cScene* shown, cScene* layerScene, int t)
{
    cSceneComposition* comp = composition_of(shown);
    if (!comp)
        return;
    for (const auto& entry : comp->layers) {
        const auto& layer = entry.second;
        if (layer.scene != layerScene || t < layer.start || t > layer.end)
            continue;
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        cTmpRT picture = layerScene->render(t / 1000);
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
cScene* find_layer_scene(cScene*, const std::string& name, std::string& error)
{
    error = "--solo '" + name + "': the show has no composition of layers yet";
    return nullptr;
}

void draw_solo_layer(cScene*, cScene*, int) {}
#endif
