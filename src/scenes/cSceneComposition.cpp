#include "scenes/cSceneComposition.h"

#include <GL/gl.h>

#include <algorithm>
#include <limits>
#include <set>
#include <type_traits>
#include <cstdlib>
#include <iostream>

#include "gui/cGuiVarList.h"
#include "shader_runtime/shader_runtime.h"
#include "post/post.h"
#include "render/pass_profile.h"
#include "render/quad.h"
#include "runtime/cSceneManager.h"
#include "scenes/cNoiseOverlay.h"
#include "scenes/cSceneBlacknWhite.h"
#include "scenes/cSceneCredits.h"
#include "scenes/cSceneMandalaCube.h"
#include "scenes/cSceneSmurf.h"
#include "scenes/cSceneSpacesphere.h"
#include "scenes/cSceneSpike.h"
#include "scenes/cSceneTitle.h"
#include "shaders/cShaderManager_CG.h"
#include "timeline/cEvent.h"
#include "timeline/cEventQueue.h"
#include "util/random_table.h"
#include "util/time_code.h"

cSceneManager* cSceneComposition::the_manager()
{
    return manager ? manager : cSceneManager::get();
}

std::vector<int> cSceneComposition::active_layers(int t) const
{
    std::vector<int> numbers;
    for (const auto& l : layers)
        if (active(l.second, t))
            numbers.push_back(l.first);
    return numbers;
}

std::string cSceneComposition::getName()
{
    std::string name = "scenecomp: ";
    const int t = demo_time();
    for (const auto& l : layers)
        if (active(l.second, t) && l.second.scene)
            name += " - " + l.second.scene->getName();
    return name;
}

void cSceneComposition::addLayer(int number, const CompositionLayer& layer, int fadeIn, int fadeOut)
{
    auto it = layers.emplace(number, layer).first;
    CompositionLayer& l = it->second;
    interpolators.push_back(new cLerp<float>(&l.opacity, l.start, l.start + fadeIn, 0.f, 1.f));
    if (fadeOut > 0)
        interpolators.push_back(new cLerp<float>(&l.opacity, l.end - fadeOut, l.end, 1.f, 0.f));
}

template <typename T>
cScene* cSceneComposition::layer_scene(const char* className)
{
    cScene* s = the_manager()->find_scene<T>();
    if (!s)
        std::cerr << "## WARNING: scene class " << className << " is not registered: its layer is left out"
                  << std::endl;
    return s;
}

template <typename T>
iVar* cSceneComposition::timeline_var(cScene* s, const char* var, int start)
{
    iVar* v = s->find_var(var);
    if (dynamic_cast<cVar<T>*>(v))
        return v;
    m_timelineProblems.push_back("scene \"" + s->getName() + "\" has no " + (std::is_same<T, int>::value ? "int" : "float") +
                                 " variable \"" + var + "\": the change at " + time_code(start) + " is left out");
    return nullptr;
}

void cSceneComposition::set_int(cScene* s, const char* var, int start, int end, int value)
{
    if (iVar* v = s ? timeline_var<int>(s, var, start) : nullptr)
        interpolators.push_back(new cSetVar<int>(v, start, end, value));
}

void cSceneComposition::set_float(cScene* s, const char* var, int start, int end, float value)
{
    if (iVar* v = s ? timeline_var<float>(s, var, start) : nullptr)
        interpolators.push_back(new cSetVar<float>(v, start, end, value));
}

void cSceneComposition::lerp(cScene* s, const char* var, int start, int end, float from, float to)
{
    if (iVar* v = s ? timeline_var<float>(s, var, start) : nullptr)
        interpolators.push_back(new cLerp<float>(v, start, end, from, to));
}

void cSceneComposition::smooth(cScene* s, const char* var, int start, int end, float from, float to)
{
    if (iVar* v = s ? timeline_var<float>(s, var, start) : nullptr)
        interpolators.push_back(new cSmoothStep<float>(v, start, end, from, to));
}

void cSceneComposition::build_timeline()
{
    m_timelineProblems.clear();
    auto layer = [this](int number, cScene* s, int start, int end, int fadeIn, int fadeOut, int mode) {
        if (s)
            addLayer(number, CompositionLayer{start, end, s, 1.f, mode}, fadeIn, fadeOut);
    };

    // The opening: the mandala cube folds through its configurations while
    // the title prints over it.
    cScene* cube = layer_scene<cSceneMandalaCube>("cSceneMandalaCube");
    layer(20, cube, 100, 46000, 2000, 2000, COMP_OVER);
    set_int(cube, "cur_config", 0, 1000, 2);
    set_int(cube, "cur_config", 2000, 4000, 0);
    lerp(cube, "backits", 2000, 4000, 0.f, 1.f);
    smooth(cube, "threshold", 2000, 8000, 15.1442f, 50.f);
    set_float(cube, "backits", 12800, 14000, 0.f);
    set_int(cube, "cur_config", 12800, 14000, 2);
    set_int(cube, "cur_config", 14500, 15500, 0);

    layer(25, layer_scene<cSceneTitle>("cSceneTitle"), 3000, 12800, 1500, 0, COMP_MODULATE);

    // The kick: the spike ball, its camera pulled and pushed at the break,
    // then backing away into the distance at the transition.
    cScene* spike = layer_scene<cSceneSpike>("cSceneSpike");
    layer(40, spike, 14500, 42000, 500, 2000, COMP_OVER);
    set_float(spike, "desat", 14400, 15500, -40.f);
    set_float(spike, "cam_dist", 14400, 15500, 1.f);
    smooth(spike, "cam_dist", 25500, 26250, 1.f, 2.f);
    smooth(spike, "cam_dist", 26250, 27300, 2.f, 0.8f);
    lerp(spike, "desat", 25500, 26500, -40.f, -100.f);
    lerp(spike, "desat", 26500, 27300, -100.f, -20.f);
    lerp(spike, "cam_dist", 38000, 44000, 0.7f, 10.f);
    lerp(spike, "desat", 38000, 44000, -20.f, -100.f);

    // The middle: the space sphere with the black-and-white star screened
    // over it; the star's noise rises to the drop.
    layer(45, layer_scene<cSceneSpacesphere>("cSceneSpacesphere"), 42000, 86000, 3000, 5000, COMP_OVER);
    cScene* star = layer_scene<cSceneBlacknWhite>("cSceneBlacknWhite");
    layer(50, star, 44000, 86000, 2000, 5000, COMP_SCREEN);
    set_float(star, "force_noblink", 41500, 43000, 1.f);
    set_float(star, "cur_t", 41500, 43000, 0.f);
    set_float(star, "noise_t", 41500, 43000, 0.f);
    smooth(star, "noise_t", 52000, 55000, 0.f, 1.f);
    smooth(star, "noise_t", 55000, 55200, 1.f, 0.f);
    set_float(star, "force_noblink", 52000, 53000, 0.f);
    smooth(star, "cur_t", 66300, 67800, 0.f, 1.f);

    // The end: the head flashes on the notes, grows and stays, then the
    // credits.
    cScene* head = layer_scene<cSceneSmurf>("cSceneSmurf");
    layer(60, head, 67500, 93000, 5000, 2000, COMP_OVER);
    smooth(head, "curheadscale", 74500, 80000, 0.f, 0.5f);
    smooth(head, "forceheadscale", 74500, 80000, 0.f, 0.25f);
    smooth(head, "forceheadscale", 80000, 82000, 0.25f, 0.5f);
    smooth(head, "forceheadscale", 83000, 83250, 0.5f, 0.f);

    layer(70, layer_scene<cSceneCredits>("cSceneCredits"), 84500, 93000, 3000, 2000, COMP_OVER);
}

void cSceneComposition::init()
{
    build_timeline();
    for (const std::string& problem : m_timelineProblems)
        std::cerr << "## WARNING: the composition's timeline: " << problem << std::endl;
    for (auto& l : layers)
        l.second.scene->init();
    ensure_post_shaders();
    ensure_comp_shaders();
    ensure_spill_shaders();
    get_noise_overlay();
    warm_up_layers();
}

void cSceneComposition::warm_up_layers()
{
    const size_t cursor = random_cursor();
    cRenderTargetManager* pool = get_rendertarget_manager();
    const bool wasLoading = pool->loading();
    pool->set_loading(true);
    // Each set of layers the show ever shows together, drawn once as a
    // frame draws it, in the order the show reaches them: the renderer
    // makes its code for a draw from the state the draws before it left,
    // so a layer drawn alone would not prepare what it needs among others.
    std::vector<std::vector<int>> sets;
    std::vector<std::pair<int, int>> starts;  // time, layer number
    for (const auto& l : layers) {
        starts.emplace_back(l.second.start, l.first);
        starts.emplace_back(l.second.end + 1, l.first);
    }
    std::sort(starts.begin(), starts.end());
    for (const auto& s : starts) {
        const std::vector<int> numbers = active_layers(s.first);
        if (!numbers.empty() && std::find(sets.begin(), sets.end(), numbers) == sets.end())
            sets.push_back(numbers);
    }
    const int t = demo_time();
    for (const auto& numbers : sets)
        compose_frame(numbers, t, true);
    // What the frames drew on the screen is cleared.
    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    pool->set_loading(wasLoading);
    set_random_cursor(cursor);
}

void cSceneComposition::handleEvent(cEvent* e)
{
    const int t = demo_time();
    for (auto& l : layers)
        if (active(l.second, t))
            l.second.scene->handleEvent(e);
}

bool cSceneComposition::update()
{
    // The scrub: the "curtime" slider moved far from the playing time. A
    // seek made elsewhere moves the clock, not the slider: it stands.
    const bool moved = lastDrawnTime != m_shownTime;
    if (moved && std::abs(lastDrawnTime - demo_time()) > SCRUB_DISTANCE)
        the_manager()->seek(lastDrawnTime);
    const int t = demo_time();
    for (auto& l : layers)
        if (active(l.second, t))
            l.second.scene->update();
    update_interpolators();

    std::string text;
    for (int n : active_layers(demo_time()))
        text += std::to_string(n);
    if (text == m_activeText)
        return false;
    m_activeText = text;
    return true;
}

void cSceneComposition::fillGui(cGuiVarList& list)
{
    const cEventQueue* q = the_manager()->event_queue();
    const int last = q && q->size() ? q->events().back()->time : std::numeric_limits<int>::max();
    list.addInt("curtime", &lastDrawnTime, float(last));
    const int t = demo_time();
    for (auto& l : layers) {
        if (!active(l.second, t))
            continue;
        // The panel owns its rows: each is a control on the scene's
        // variable over the variable's range.
        for (const cSceneVar& v : l.second.scene->getVars()) {
            if (!v.var)
                continue;
            void* p = v.var->getPointer();
            if (dynamic_cast<cVar<float>*>(v.var))
                list.addFloat(v.var->getName(), static_cast<float*>(p), v.minimum, v.maximum);
            else if (dynamic_cast<cVar<int>*>(v.var))
                list.addInt(v.var->getName(), static_cast<int*>(p), v.maximum);
            else if (dynamic_cast<cVar<double>*>(v.var))
                list.addDouble(v.var->getName(), static_cast<double*>(p), v.minimum, v.maximum);
        }
    }
}

void cSceneComposition::draw()
{
    const int t = demo_time();
    // The slider follows the playing time on every frame, drawn or not, so
    // that only a move of the slider seeks.
    mark_drawn(t);
    if (layers.empty())
        return;
    if (layers.size() == 1) {
        layers.begin()->second.scene->draw();
        return;
    }
    if (active_layers(t).empty())
        return;

    compose_frame(active_layers(t), t, false);
}

void cSceneComposition::compose_frame(const std::vector<int>& numbers, int t, bool fullOpacity)
{
    // Every active layer drawn first, then all of them composed on the way
    // to the screen: the full picture is written once, where it is shown.
    std::vector<cTmpRT> pictures;
    std::vector<cCompLayer> inputs;
    cShaderManager_CG* sm = get_shader_manager();
    for (int number : numbers) {
        CompositionLayer& l = layers.at(number);
        if (!l.scene)
            continue;
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        cTmpRT picture;
        {
            cProfileScope scope(l.scene->getName());
            picture = l.scene->render(t / 1000);
            sm->unbind();
        }
        glPopAttrib();
        if (!picture)
            continue;
        inputs.push_back(cCompLayer{picture.get(), l.mode, fullOpacity ? 1.f : l.opacity});
        pictures.push_back(std::move(picture));
    }
    glDisable(GL_BLEND);
    finish(inputs, t);
}

void cSceneComposition::finish(const std::vector<cCompLayer>& inputs, int t)
{
    const float r1 = next_random();
    const float r2 = next_random();
    const float e = std::min(std::max(float(t - 45000) / 1000.f, 0.f), 1.f);
    const float black = (1.f - e) * (r1 * 15.f + 200.f) + e * 255.f;
    const float white = (1.f - e) * (r2 * 25.f + 128.f) + e * 255.f;
    // The bloom: the glow is made from the layers composed at a quarter of
    // the size, where the full picture would only have been sampled, and
    // added to the full picture as it is composed for the screen; the
    // grain goes over both.
    // From 46 s the threshold is at white: nothing rises above it, the glow
    // is black and is neither made nor added.
    cTmpRT glow;
    if (black < 255.f) {
        glow = get_flat_rt(RTT_QUATER);
        cTmpRT small = get_flat_rt(RTT_QUATER);
        comp_layers(small.get(), inputs);
        glow_into(glow.get(), small.get(), cGlowParams{RTT_QUATER, black, white});
    }
    draw_grained([&] { comp_layers_spill(inputs, glow.get()); }, get_noise_overlay(), 1.5f, 0.1f);
}
