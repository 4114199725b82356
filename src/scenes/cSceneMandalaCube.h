#pragma once
// The mandala cube, the show's opening picture: a cube whose six walls each
// carry eight relief rings that morph between an inner and an outer shape
// and turn with the morph, seen from inside or outside by configuration,
// then folded through a kaleidoscope plane, colour-shifted, scrolled,
// distorted by sine noise, levelled with a jittering black point, crossed by
// a flickering light band and darkened by the vignette. MIDI track 7 resets
// the spin, track 2 kicks the morph, track 5 (notes 36, 42, 48, 54) pulses
// the distortion.
#include <string>
#include <vector>

#include "mesh_files/cMeshMorph.h"
#include "post/post_params.h"
#include "runtime/cScene.h"
#include "scenes/show_assets.h"
#include "texture/cTexture.h"
#include "tweak/iVar.h"

class iMesh;

class cSceneMandalaCube : public cScene {
public:
    explicit cSceneMandalaCube(DemoClock* clock);
    ~cSceneMandalaCube() override = default;

    std::string getName() override { return "mandalacube"; }
    void init() override;
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    // The time argument is not used: the demo clock gives the time.
    cTmpRT render(int) override;
    SceneVars getVars() override;

    // The cube alone, lit from the viewer, into target (cleared first).
    void render_cube(iRenderTarget* target);
    // The kaleidoscope pass from src into whatever is bound: plane k folds
    // the picture (k below 0 draws it unfolded, k above the last plane folds
    // through the last).
    void kaleido_pass(iRenderTarget* src, int k);
    // Steps 8 and 9 of the render: the light band and the vignette.
    void light_band(iRenderTarget* target);
    // Applies configuration 0..2 (camera, kaleidoscope, inside, morph); any
    // other number changes nothing.
    void apply_config(int config);

    int kaleido = 0;
    float morph = 0.f;
    unsigned char inside = 1;
    float rot = 0.f;
    float spin_offset = 0.f;
    float pulse = 0.f;
    float backits = 0.f;
    int cur_config = 0;
    float scroll_speed = 1.f;
    float scroll_rate = 1.f;
    cLevelsParams levels{0.f, 255.f, 1.f, 0.f, 255.f};
    cSineNoiseParams noise{};
    float color_offset = 1.f;
    cTexture vignette;
    std::string vignette_name;
    iMesh* cube_face = nullptr;
    cMeshMorph layers[8];
    // The kaleidoscope planes, 1..7 at 0..6; they belong to the mesh cache.
    std::vector<iMesh*> planes;

    // The configuration applied last; -1 before the first update, so that
    // the first update applies whatever cur_config holds.
    int applied_config = -1;

    static const int LAYER_COUNT = show_assets::LAST_RELIEF - show_assets::FIRST_RELIEF + 1;

    // A note's pulse of pulse or morph lasts this long.
    static const int PULSE_MS = 250;

private:
    void draw_cube();

    std::vector<cInterpolator*> m_pulses;  // the notes' pulses, in interpolators
    // What the pulses write through: one variable each for all of them, so
    // that a pulse taken out of the list leaves nobody pointing at its own.
    cVar<float> m_pulseVar{"pulse", &pulse}, m_morphVar{"morph", &morph};

    cVar<int> m_configVar;
    cVar<float> m_rotVar, m_thresholdVar, m_backitsVar;
};
