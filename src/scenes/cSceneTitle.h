#pragma once
// The title: "MORVANE" in ink on a white page, printed as five shaky grey
// copies and one steady black copy. Every note on MIDI track 2 steps to the
// next of fifteen hand-varied images, so the lettering boils with the claps;
// a note on track 3 kicks the print in a random direction and the kick fades
// with the track's envelope. The composition multiplies this page onto the
// opening, so the title shows as dark print over it.
#include <string>
#include <vector>

#include "runtime/cScene.h"
#include "texture/cTexture.h"

class cEventQueue;

class cSceneTitle : public cScene {
public:
    explicit cSceneTitle(DemoClock* clock) : cScene(clock) {}
    ~cSceneTitle() override = default;

    std::string getName() override { return "title"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override;

    // Where the print's lower left corner sits before jitter.
    float base_x() const { return 0.15f + kick[0] * kickAmount; }
    float base_y() const { return 0.33f + kick[1] * kickAmount; }

    std::vector<cTexture> images;
    int imageIndex = 0;
    float kick[2] = {0.f, 0.f};
    float kickAmount = 0.f;
    // The queue whose track-3 notes shape the kick; the scene manager's
    // when null.
    cEventQueue* queue = nullptr;

    static constexpr int STEP_TRACK = 2;
    static constexpr int KICK_TRACK = 3;
};
