#pragma once
// The head flash: on every note of MIDI track 2 a head lights up in the
// middle of a dark grey page, as twenty-five faint additive copies that lie
// on top of each other for the first 150 ms and then spread sideways as the
// flash dies away. "curheadscale" sizes the head; "forceheadscale" keeps it
// on and steady, which the composition uses to hold it towards the end.
#include <string>

#include "runtime/cScene.h"
#include "texture/cTexture.h"
#include "tweak/iVar.h"

class cSceneSmurf : public cScene {
public:
    explicit cSceneSmurf(DemoClock* clock);
    ~cSceneSmurf() override = default;

    std::string getName() override { return "smurf"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    cTmpRT render(int) override;
    SceneVars getVars() override;

    // The additive copies of the head over the bound target.
    void head_pass();
    // 1 up to about 233 ms after a note, 0 from 350 ms on.
    static float flash(int sinceNote);
    // How far the copies spread (0..1 of the head's width).
    static float spread(int sinceNote, float flash, float scale);

    cTexture head;
    int lastNote = 0;
    float curheadscale = 0.1f;
    float forceheadscale = 0.f;

    static constexpr int NOTE_TRACK = 2;
    static constexpr int COPIES = 25;

private:
    cVar<float> m_scaleVar;
    cVar<float> m_forceVar;
};
