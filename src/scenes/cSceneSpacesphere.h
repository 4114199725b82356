#pragma once
// The space sphere: the inside of a night-sky sphere seen from a camera
// that circles near its centre with a rocking up vector and widens its
// view on every kick (MIDI track 3); the corners darkened by a vignette and
// the levels flickering a little every frame.
#include <string>

#include "post/post_params.h"
#include "runtime/cScene.h"
#include "scenes/show_assets.h"
#include "texture/cTexture.h"
#include "timeline/cEventWindow.h"

class cEventQueue;
class iMesh;

class cSceneSpacesphere : public cScene {
public:
    explicit cSceneSpacesphere(DemoClock* clock) : cScene(clock) {}
    ~cSceneSpacesphere() override = default;

    std::string getName() override { return "spacesphere"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    cTmpRT render(int) override;

    iMesh* sphere = nullptr;
    cTexture sky;
    std::string skyName = show_assets::SKY_PANORAMA;
    cTexture vignette;
    std::string vignetteName = show_assets::VIGNETTE;
    cEventWindow kick{50.f, 100.f, 3};
    cLevelsParams lastLevels{0.f, 255.f, 1.f, 0.f, 255.f};  // of the last render
    // The queue the kick envelope reads; the scene manager's when null.
    cEventQueue* queue = nullptr;
};
