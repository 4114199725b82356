#pragma once
// The spike ball: a self-lit spiked sphere spinning about an axis that
// changes on every hit (MIDI track 2), a bright ring bursting in from the
// edges on each hit, radial rays that breathe with the kick (track 3),
// then a dodge of the rings over the rays, inversion, film grain, a hard
// levels pass and a saturation control. The composition drives "cam_dist"
// and "desat".
#include <string>
#include <vector>

#include "post/post_params.h"
#include "runtime/cScene.h"
#include "scenes/show_assets.h"
#include "texture/cTexture.h"
#include "timeline/cEventWindow.h"
#include "tweak/iVar.h"

class cEventQueue;
class cIntervalLerp;
class iMesh;

class cSceneSpike : public cScene {
public:
    explicit cSceneSpike(DemoClock* clock);
    ~cSceneSpike() override;

    std::string getName() override { return "spikeball"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    cTmpRT render(int) override;
    SceneVars getVars() override;

    // The rings over the bound target at demo time t (ms).
    void draw_rings(int t);
    // Their quads, in the unit square set up by draw_rings.
    void add_rings(int t);

    static constexpr int RING_MS = 500;

    iMesh* ball = nullptr;
    cRadialBlurParams blur;
    cTexture glowTexture;  // colour, and self-illumination in alpha
    std::string glowTextureName = show_assets::SPIKE_BALL_GLOW;
    cTexture ringTexture;
    std::string ringTextureName = show_assets::DODGE_CIRCLE;
    std::vector<cIntervalLerp*> rings;  // owned, one per hit
    float spinPhase = 0.f;
    float frameOffset = 0.f;
    float ringBrightness = 1.f;
    float spinSpeed = 5.f;  // degrees per second
    float spinAxis[3] = {0.f, 0.f, 1.f};
    float camDist = 1.f;
    cHSBParams hsb{0.f, 0.f, 0.f};
    cLevelsParams levels{0.f, 255.f, 1.f, 0.f, 255.f};
    cEventWindow kick{50.f, 200.f, 3};
    int hits = 0;  // track-2 notes so far
    // The queue the kick envelope reads; the scene manager's when null.
    cEventQueue* queue = nullptr;

private:
    void choose_axis();
    float m_drawn[3] = {0.f, 0.f, 0.f};  // components drawn for the last axis
    cVar<float> m_camDistVar, m_desatVar, m_blackVar, m_whiteVar;
};
