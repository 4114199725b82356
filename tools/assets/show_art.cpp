#include "assets/show_art.h"

#include <cmath>
#include <cstdio>

#include "assets/ink.h"
#include "assets/portraits.h"
#include "assets/typeface.h"

InkFrame ink_frame(unsigned series, int frame)
{
    const unsigned s = series * 1000u + unsigned(frame);
    return {1.4f + 0.6f * hash01(s, 1), 5.f * (hash01(s, 2) - 0.5f), 4.f * (hash01(s, 3) - 0.5f),
            0.36f + 0.14f * hash01(s, 4), s};
}

namespace {
// One frame of a drawing: resampled to the texture size with the frame's
// boil and offset, then softened and re-inked so the edges spread and
// roughen differently on every frame.
Ink ink_pass(const Ink& design, int w, int h, const InkFrame& f)
{
    Ink out = resample(design, w, h, f.boil, f.seed, f.dx, f.dy);
    soften(out, 1);
    spread(out, f.level, 0.3f, f.seed + 99);
    return out;
}

// A few drops of ink near the strokes, different on each frame.
void splatter(Ink& ink, const Ink& near, unsigned seed, int count)
{
    for (int i = 0, tries = 0; i < count && tries < 400; ++tries) {
        const float x = hash01(seed, unsigned(tries * 3)) * float(ink.w);
        const float y = hash01(seed, unsigned(tries * 3 + 1)) * float(ink.h);
        if (near.sample(x * float(near.w) / float(ink.w), y * float(near.h) / float(ink.h)) < 0.5f)
            continue;
        const float r = 1.f + 3.f * hash01(seed, unsigned(tries * 3 + 2));
        segment(ink, {x + 2.f * r, y}, {x + 2.f * r + 0.3f * r, y + 0.2f * r}, r);
        ++i;
    }
}

std::string path_of(const std::string& dataDir, const char* dir, const char* stem, int k)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d.jpg", stem, k);
    return dataDir + "/textures/" + dir + "/" + name;
}
}  // namespace

bool bake_title_frames(const std::string& dataDir)
{
    Typeface face;
    if (!face.open(TITLE_FACE))
        return false;
    // Designed at its size on screen: 0.7 x 0.35 of a 1280 x 720 target.
    Ink design(896, 252);
    const char* title = "MORVANE";
    int px = 240;
    const float tracking = 6.f;
    while (px > 40 && face.measure(title, px, tracking) > 0.9f * float(design.w))
        px -= 4;
    const float width = face.measure(title, px, tracking);
    const float cap = face.cap_height(px);
    const float baseline = (float(design.h) + cap) / 2.f + 6.f;
    face.draw(design, title, (float(design.w) - width) / 2.f, baseline, px, tracking);
    // A brush line under the lettering, drawn with the same pen.
    stroke(design, {{70.f, baseline + 22.f}, {300.f, baseline + 18.f}, {600.f, baseline + 21.f}, {826.f, baseline + 16.f}},
           2.f, 7.f, 1.f);
    bool ok = true;
    for (int k = 1; k <= 15; ++k) {
        const InkFrame f = ink_frame(1, k);
        Ink frame = ink_pass(design, 1024, 256, f);
        splatter(frame, design, f.seed + 7, 3);
        ok = save_ink_jpeg(frame, path_of(dataDir, "title", "morvane", k)) && ok;
    }
    return ok;
}

bool bake_credits_page(const std::string& dataDir)
{
    Typeface display, text;
    if (!display.open(TITLE_FACE) || !text.open(TEXT_FACE))
        return false;
    // The whole 1280 x 720 screen. The portraits land in the upper left
    // (x 0..420, y 144..396 from the top) and the lower right (x 860..1280,
    // y 468..720): the page keeps those places blank.
    Ink design(1280, 720);
    const float right = 1230.f;
    auto right_aligned = [&](Typeface& f, const char* s, float baseline, int px, float tracking) {
        f.draw(design, s, right - f.measure(s, px, tracking), baseline, px, tracking);
    };
    right_aligned(display, "MORVANE", 130.f, 120, 4.f);
    stroke(design, {{760.f, 150.f}, {980.f, 146.f}, {1228.f, 151.f}}, 1.5f, 5.f, 1.f);
    right_aligned(text, "a real-time demo for Linux", 196.f, 30, 0.f);
    right_aligned(text, "ink, light and a synthesizer at dusk", 236.f, 24, 0.f);
    right_aligned(text, "made for the PC demo competition", 300.f, 24, 0.f);
    right_aligned(text, "of a party at nightfall", 334.f, 24, 0.f);

    const float left = 56.f;
    display.draw(design, "kesmo", left, 520.f, 64, 2.f);
    text.draw(design, "code, scenes, shaders", left + 6.f, 556.f, 24);
    display.draw(design, "drulan", left, 640.f, 64, 2.f);
    text.draw(design, "music, sound, ink portraits", left + 6.f, 676.f, 24);
    text.draw(design, "thanks for watching", 520.f, 420.f, 22, 1.f, 0.85f);

    const InkFrame f = ink_frame(7, 1);
    Ink page = ink_pass(design, 1024, 512, InkFrame{1.f, 0.f, 0.f, 0.4f, f.seed});
    // Paper, not pure white: a faint warm grain over the whole page.
    for (int y = 0; y < page.h; ++y)
        for (int x = 0; x < page.w; ++x) {
            const float grain = 0.045f + 0.03f * fbm(f.seed + 5, float(x) / 9.f, float(y) / 9.f);
            page.ref(x, y) = std::fmax(page.at(x, y) * 0.92f, grain);
        }
    return save_ink_jpeg(page, dataDir + "/textures/credits/credits.jpg");
}

bool bake_portraits(const std::string& dataDir)
{
    Typeface display;
    if (!display.open(TITLE_FACE))
        return false;
    bool ok = true;
    for (int who = 0; who < 2; ++who) {
        const bool first = who == 0;
        for (int k = 1; k <= 15; ++k) {
            const InkFrame f = ink_frame(first ? 2u : 3u, k);
            // Designed at its size on screen: 0.7 x 0.35 of the target. The
            // first portrait sits at the left end, the second at the right.
            Ink design(896, 252);
            if (first)
                draw_kesmo(design, {150.f, 132.f}, 108.f, f.seed);
            else
                draw_drulan(design, {746.f, 132.f}, 108.f, f.seed);
            const char* name = first ? "kesmo" : "drulan";
            const int px = 54;
            const float w = display.measure(name, px, 2.f);
            display.draw(design, name, first ? 300.f : 596.f - w, 200.f, px, 2.f);
            Ink frame = ink_pass(design, 1024, 256, f);
            ok = save_ink_jpeg(frame, path_of(dataDir, "credits", name, k)) && ok;
        }
    }
    return ok;
}

bool bake_head(const std::string& dataDir)
{
    // Designed on the whole 1280 x 720 target: the scene stretches the
    // square image over a square of the overlay, which is wider on screen.
    Ink design(1280, 720);
    draw_light_head(design, {640.f, 372.f}, 300.f);
    Ink head = resample(design, 512, 512, 0.f, 0);
    return save_light_png(head, dataDir + "/textures/black_smurf_head_pot.png", 255, 232, 192);
}
