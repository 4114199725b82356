#include "demo/cMorvane.h"

#include <stdexcept>

#include "demo/cLoadScreen_MM.h"
#include "platform/show_time_source.h"
#include "platform/startup_trace.h"
#include "post/shader_warm_up.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneBlacknWhite.h"
#include "scenes/cSceneComposition.h"
#include "scenes/cSceneCredits.h"
#include "scenes/cSceneMandalaCube.h"
#include "scenes/cSceneMidiTest.h"
#include "scenes/cSceneSmurf.h"
#include "scenes/cSceneSpacesphere.h"
#include "scenes/cSceneSpike.h"
#include "scenes/cSceneTitle.h"
#include "scenes/show_assets.h"
#include "timeline/cEventQueue.h"
#include "timeline/cMidiReader.h"

namespace {
class single_demo_error : public std::exception {
public:
    const char* what() const noexcept override { return "only a single demo allowed at any one time..."; }
};
}  // namespace

const char* const cMorvane::MIDI_PATH = show_assets::MIDI_FROM_BIN;
bool cMorvane::s_constructed = false;

cMorvane::cMorvane()
{
    if (s_constructed)
        throw single_demo_error();
    s_constructed = true;
}

void cMorvane::add_show_scenes(cSceneManager& sm)
{
    // Registration order is the scene index; index 0 is the scene shown:
    // the composition, which plays the others as its layers.
    sm.add_scene<cSceneComposition>();
    sm.add_scene<cSceneMidiTest>();
    sm.add_scene<cSceneMandalaCube>();
    sm.add_scene<cSceneSpike>();
    sm.add_scene<cSceneBlacknWhite>();
    sm.add_scene<cSceneSpacesphere>();
    sm.add_scene<cSceneTitle>();
    sm.add_scene<cSceneSmurf>();
    sm.add_scene<cSceneCredits>();
}

void cMorvane::run(bool capture)
{
    cSceneManager* sm = cSceneManager::get();
    sm->use_time_source(show_time_source());
    sm->setup(capture);

    add_show_scenes(*sm);

    {
        cLoadScreen_MM loadScreen;
        sm->debug_test_scene(loadScreen);

        cEventQueue* queue = sm->event_queue();
        cMidiReader::read_file(MIDI_PATH, *queue, 0.f);
        queue->rewind();

        varList.init();
        varList.setPosition(0.05f, 0.05f);
        varList.setSize(0.9f, 0.65f);
        sceneLabel.setPosition(0.05f, 0.7f);
        timeLabel.setPosition(0.83f, 0.7f);
        warm_up_shaders();  // no first-draw code generation inside the show
    }
    startup_mark("loaded");
}
