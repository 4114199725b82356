#include "assets/show_art.h"

#include <cmath>
#include <cstdio>

#include "assets/credits_layout.h"
#include "assets/ink.h"
#include "assets/portraits.h"
#include "assets/typeface.h"
#include "scenes/show_assets.h"

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

std::string path_of(const std::string& dataDir, const char* dir, const char* series, int k)
{
    return show_assets::path(show_assets::path(dataDir, dir), show_assets::ink_frame(series, k));
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
    for (int k = 1; k <= show_assets::INK_FRAMES; ++k) {
        const InkFrame f = ink_frame(1, k);
        Ink frame = ink_pass(design, 1024, 256, f);
        splatter(frame, design, f.seed + 7, 3);
        ok = save_ink_jpeg(frame, path_of(dataDir, show_assets::TITLE_DIR, show_assets::TITLE_SERIES, k)) && ok;
    }
    return ok;
}

bool bake_credits_page(const std::string& dataDir)
{
    Typeface display, text;
    if (!display.open(TITLE_FACE) || !text.open(TEXT_FACE))
        return false;
    // The whole 1280 x 720 screen: the title and its lines in the upper
    // right, each name and role beside its portrait, the closing lines in
    // the lower left; the places the portraits' copies reach stay blank
    // (see credits_layout.h).
    Ink design(1280, 720);
    for (const Lettering& l : credits_page_lettering()) {
        draw_lettering(l.display ? display : text, design, l);
        if (l.text == "MORVANE") {
            // A brush line under the title, drawn with the title's pen.
            const float left = lettering_left(display, l);
            stroke(design, {{left + 8.f, l.baseline + 22.f}, {left + 240.f, l.baseline + 18.f}, {l.x - 2.f, l.baseline + 23.f}},
                   1.5f, 5.f, 1.f);
        }
    }

    const InkFrame f = ink_frame(7, 1);
    Ink page = ink_pass(design, 1024, 512, InkFrame{1.f, 0.f, 0.f, 0.4f, f.seed});
    splatter(page, design, f.seed + 7, 4);
    // Paper, not pure white: a faint warm grain over the whole page.
    for (int y = 0; y < page.h; ++y)
        for (int x = 0; x < page.w; ++x) {
            const float grain = 0.045f + 0.03f * fbm(f.seed + 5, float(x) / 9.f, float(y) / 9.f);
            page.ref(x, y) = std::fmax(page.at(x, y) * 0.92f, grain);
        }
    return save_ink_jpeg(page, show_assets::path(show_assets::path(dataDir, show_assets::CREDITS_DIR), show_assets::CREDITS_PAGE));
}

bool bake_portraits(const std::string& dataDir)
{
    bool ok = true;
    for (int who = 0; who < 2; ++who) {
        const Portrait& p = credits_person(who);
        for (int k = 1; k <= show_assets::INK_FRAMES; ++k) {
            const InkFrame f = ink_frame(who == 0 ? 2u : 3u, k);
            // Designed at its size on screen: 0.7 x 0.35 of the target, the
            // face alone; the page letters the name beside it.
            Ink design(896, 252);
            if (who == 0)
                draw_kesmo(design, p.face, p.faceSize, f.seed);
            else
                draw_drulan(design, p.face, p.faceSize, f.seed);
            Ink frame = ink_pass(design, 1024, 256, f);
            ok = save_ink_jpeg(frame, path_of(dataDir, show_assets::CREDITS_DIR, p.name, k)) && ok;
        }
    }
    return ok;
}

void draw_head_image(Ink& shape, Ink& light)
{
    // Designed on the whole 1280 x 720 target: the scene stretches the
    // square image over a square of the overlay, which is wider on screen.
    // The head fills the height of its square, rim and all, so that it
    // reads while the composition still shows it small.
    Ink wideShape(1280, 720), wideLight(1280, 720);
    draw_light_head(wideShape, wideLight, {640.f, 393.f}, 360.f);
    shape = resample(wideShape, 512, 512, 0.f, 0);
    light = resample(wideLight, 512, 512, 0.f, 0);
}

bool bake_head(const std::string& dataDir)
{
    Ink shape, light;
    draw_head_image(shape, light);
    return save_light_png(shape, light, show_assets::path(show_assets::path(dataDir, show_assets::TEXTURES), show_assets::HEAD), 255, 246, 226);
}
