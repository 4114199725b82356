#pragma once
// The mandala cube: a relief-lined cube seen from inside, folded by a kaleidoscope.
// Placeholder until the scene is built: renders a transparent target.
#include <string>

#include "runtime/cScene.h"

class cSceneMandalaCube : public cScene {
public:
    explicit cSceneMandalaCube(DemoClock* clock) : cScene(clock) {}
    ~cSceneMandalaCube() override = default;

    std::string getName() override { return "mandalacube"; }
    void init() override {}
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override { return false; }
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override;
};
