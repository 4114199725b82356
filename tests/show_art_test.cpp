// The closing section's art as the composition shows it: a head with dark
// lines and bright fills that fills its square, and a credits page where
// each name stands once beside its face and nothing overlaps, not even the
// portraits' jumping copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/credits_layout.h"
#include "assets/show_art.h"
#include "assets/typeface.h"

TEST(HeadImage, FillsItsSquareWithBrightFillsAndDarkLines)
{
    Ink shape, light;
    draw_head_image(shape, light);
    ASSERT_EQ(shape.w, 512);
    int top = shape.h, bottom = -1, solid = 0, dark = 0, bright = 0;
    for (int y = 0; y < shape.h; ++y)
        for (int x = 0; x < shape.w; ++x) {
            if (shape.at(x, y) > 0.5f) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
            if (shape.at(x, y) < 0.95f)
                continue;
            ++solid;
            dark += light.at(x, y) < 0.15f;
            bright += light.at(x, y) > 0.85f;
        }
    // The layer lays at most about half of its colour over the picture: a
    // head reads over the bright star spikes by its dark lines and rim, and
    // over the dark sky by its bright fills.
    EXPECT_GT(bottom - top, 0.9 * shape.h) << "the head fills the height of its square";
    EXPECT_GT(dark, solid / 6) << "dark lines and a dark rim";
    EXPECT_GT(bright, solid / 3) << "bright fills";
    EXPECT_LT(top, 20);
    EXPECT_GT(bottom, shape.h - 20);
}

namespace {
struct Placed {
    std::string text;
    Box box;
};

std::vector<Placed> page_lines()
{
    Typeface display, text;
    EXPECT_TRUE(display.open(TITLE_FACE));
    EXPECT_TRUE(text.open(TEXT_FACE));
    std::vector<Placed> lines;
    for (const Lettering& l : credits_page_lettering())
        lines.push_back({l.text, lettering_box(l.display ? display : text, l)});
    return lines;
}
}  // namespace

TEST(CreditsPage, EachNameOnceBesideItsFaceAndNothingOverlapsNotEvenTheJumpingPortraits)
{
    const std::vector<Placed> lines = page_lines();
    const Box reach[2] = {portrait_reach(0), portrait_reach(1)};
    EXPECT_FALSE(reach[0].overlaps(reach[1]));
    for (size_t i = 0; i < lines.size(); ++i) {
        const Box& b = lines[i].box;
        EXPECT_TRUE(b.x0 >= 20.f && b.y0 >= 20.f && b.x1 <= 1260.f && b.y1 <= 710.f) << lines[i].text;
        for (const Box& r : reach)
            EXPECT_FALSE(b.overlaps(r)) << lines[i].text << " lies where a portrait's copy can land";
        for (size_t j = i + 1; j < lines.size(); ++j)
            EXPECT_FALSE(b.overlaps(lines[j].box)) << lines[i].text << " / " << lines[j].text;
    }
    for (int who = 0; who < 2; ++who) {
        const Portrait& p = credits_person(who);
        int mentions = 0;
        const Placed *name = nullptr, *role = nullptr;
        for (const Placed& l : lines) {
            mentions += l.text.find(p.name) != std::string::npos;
            name = l.text == p.name ? &l : name;
            role = l.text == p.role ? &l : role;
        }
        EXPECT_EQ(mentions, 1) << p.name;
        ASSERT_TRUE(name && role) << p.name;
        // The role right under the name, the pair level with the face.
        EXPECT_TRUE(role->box.y0 >= name->box.y0 && role->box.y0 < name->box.y1 + 20.f) << p.name;
        EXPECT_GT(name->box.y0, p.origin.y + portrait_face_box(who).y0) << p.name;
        EXPECT_LT(role->box.y1, p.origin.y + portrait_face_box(who).y1) << p.name;
    }
}
