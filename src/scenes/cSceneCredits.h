#pragma once
// The credits: the closing page with two shaky ink portraits multiplied
// onto it, one in the upper left and one in the lower right. Each portrait
// steps to its next image at random, on about one frame in ten, without any
// MIDI input.
#include <string>
#include <vector>

#include "runtime/cScene.h"
#include "texture/cTexture.h"

class cSceneCredits : public cScene {
public:
    explicit cSceneCredits(DemoClock* clock) : cScene(clock) {}
    ~cSceneCredits() override = default;

    // The same name as the title: the name map keeps the title.
    std::string getName() override { return "title"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override;
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override;

    cTexture background;
    std::vector<cTexture> firstGroup;
    std::vector<cTexture> secondGroup;
    int firstIndex = 0;
    int secondIndex = 0;
};
