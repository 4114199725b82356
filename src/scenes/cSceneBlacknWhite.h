#pragma once
// The black-and-white star, mirrored eight-fold and smeared.
// Placeholder until the scene is built: renders a transparent target.
#include <string>

#include "runtime/cScene.h"

class cSceneBlacknWhite : public cScene {
public:
    explicit cSceneBlacknWhite(DemoClock* clock) : cScene(clock) {}
    ~cSceneBlacknWhite() override = default;

    std::string getName() override { return "blacknwhite"; }
    void init() override {}
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override { return false; }
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override;
};
