#pragma once
// The loading screen: its image (LOADING_SCREEN) over the whole render area
// at a quarter of its brightness. Construction saves the GL state it
// changes; destruction restores it.
#include <string>

#include "runtime/iLoadScreen.h"
#include "scenes/show_assets.h"
#include "texture/cTexture.h"

class iTimeSource;

class cLoadScreen_MM : public iLoadScreen {
public:
    // Times the presenting draw with `clock`; the scene manager's clock
    // source when null.
    explicit cLoadScreen_MM(iTimeSource* clock = nullptr);
    ~cLoadScreen_MM() override;
    cLoadScreen_MM(const cLoadScreen_MM&) = delete;
    cLoadScreen_MM& operator=(const cLoadScreen_MM&) = delete;

    // One frame; with present, frames are swapped for 200 ms.
    void draw(float progress, bool present) override;

    static constexpr int PRESENT_MS = 200;

    int savedViewport[4] = {0, 0, 0, 0};
    float savedClearColour[4] = {0.f, 0.f, 0.f, 0.f};
    float progress = 0.f;
    cTexture image;
    std::string imageName = show_assets::LOADING_SCREEN;

private:
    void draw_frame();
    int now_ms();
    iTimeSource* m_clock;
};
