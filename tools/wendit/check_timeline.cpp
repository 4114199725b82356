// The show's timeline for `wendit check`: the composition built as the show
// builds it, from the show's scenes, without a window (nothing is drawn).
#include "check_list.h"

#include <iostream>
#include <sstream>

#include "demo/cMorvane.h"
#include "platform/cFrameStepTimeSource.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneComposition.h"

std::vector<std::string> show_timeline_problems()
{
    // The scene manager's start-up lines (the sound's buffer) are not the
    // check's to print.
    std::ostringstream quiet;
    std::streambuf* out = std::cout.rdbuf(quiet.rdbuf());
    // The clock is never read: the timeline is only built, not played.
    cFrameStepTimeSource source(40000);
    cSceneManager manager(&source);
    std::cout.rdbuf(out);
    cMorvane::add_show_scenes(manager);
    cSceneComposition* comp = manager.find_scene<cSceneComposition>();
    if (!comp)
        return {"the show has no composition scene"};
    comp->manager = &manager;
    comp->build_timeline();
    return comp->timeline_problems();
}
