#pragma once
// The spike ball: a glowing spiked sphere with ring bursts and breathing rays.
// Placeholder until the scene is built: renders a transparent target.
#include <string>

#include "runtime/cScene.h"

class cSceneSpike : public cScene {
public:
    explicit cSceneSpike(DemoClock* clock) : cScene(clock) {}
    ~cSceneSpike() override = default;

    std::string getName() override { return "spikeball"; }
    void init() override {}
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override { return false; }
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override;
};
