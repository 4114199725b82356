#pragma once
// The black-and-white star: a spiked star object folded eight-fold by a
// mirror kaleidoscope in 3-D, lit from the viewer; radial rays whose reach
// flickers with the hits and kicks (MIDI tracks 2 and 3), a horizontal
// smear dodged over the picture and a sine-noise distortion that pulses
// with the percussion (track 5). One value, "cur_t", flies the camera and
// the star along a fixed path. The composition screens this layer over the
// space sphere and drives "cur_t", "noise_t" and "force_noblink".
#include <string>
#include <vector>

#include "post/post_params.h"
#include "runtime/cScene.h"
#include "timeline/cEventWindow.h"
#include "tweak/iVar.h"

class cEventQueue;
class iMesh;

class cSceneBlacknWhite : public cScene {
public:
    explicit cSceneBlacknWhite(DemoClock* clock);
    ~cSceneBlacknWhite() override = default;

    std::string getName() override { return "blacknwhite"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    cTmpRT render(int) override;
    SceneVars getVars() override;

    // The camera, star position and blur samples for cur_t.
    void follow_path();
    // The object matrix (column-major) at demo seconds t: turned about its
    // own centre, then placed at the star position.
    void object_matrix(float t, float m[16]) const;
    // A mesh drawn through the eight-fold mirror with object matrix m, in
    // the current camera.
    void mirror_draw(iMesh* mesh, const float m[16]) const;
    // The distortion record render uses for demo seconds t and target
    // width w.
    cSineNoiseParams distortion(float t, float w) const;

    iMesh* spikes = nullptr;
    iMesh* star = nullptr;
    cRadialBlurParams blur;
    cSineNoiseParams noise;
    int mirror = 2;  // 2: eight mirror segments (the only kind drawn)
    float starPos[3] = {0.f, 0.f, 0.f};
    float cur_t = 0.f;
    float pathEnable = 1.f;
    float camdist = 1.f;
    float force_noblink = 0.f;
    float force_bright = 0.f;
    float pulse = 0.f;
    float noise_t = 0.f;
    cEventWindow hitWindow{75.f, 250.f, -1};
    cEventWindow kickWindow{75.f, 250.f, -1};
    // The queue the envelopes read; the scene manager's when null.
    cEventQueue* queue = nullptr;

private:
    std::vector<cInterpolator*> m_pulses;  // in interpolators, newest last
    // What the pulses write through: one variable for all of them, so that
    // a pulse taken out of the list leaves nobody pointing at its own.
    cVar<float> m_pulseVar{"pulse", &pulse};
    cVar<float> m_curVar, m_noiseVar, m_camdistVar, m_noblinkVar, m_brightVar, m_thresholdVar;
};
