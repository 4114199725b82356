#pragma once
// The space sphere: a night-sky panorama seen from a circling camera.
// Placeholder until the scene is built: renders a transparent target.
#include <string>

#include "runtime/cScene.h"

class cSceneSpacesphere : public cScene {
public:
    explicit cSceneSpacesphere(DemoClock* clock) : cScene(clock) {}
    ~cSceneSpacesphere() override = default;

    std::string getName() override { return "spacesphere"; }
    void init() override {}
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override { return false; }
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override;
};
