#include "assets/credits_layout.h"

#include "assets/typeface.h"
#include "scenes/show_assets.h"

namespace {
// The page's right margin, and the left margin of its closing lines.
constexpr float RIGHT = 1230.f, LEFT = 56.f;
constexpr int NAME_PX = 58, ROLE_PX = 26;
// How far a printed copy of a portrait strays: a shake of a hundredth of
// the screen each way, a jump of up to a quarter of it right and up.
constexpr float SHAKE_X = 12.8f, SHAKE_Y = 7.2f, JUMP_X = 320.f, JUMP_Y = 180.f;
}  // namespace

const Portrait& credits_person(int who)
{
    // The first face at the left end of its strip, the second at the right;
    // each is lettered with the name its portrait series carries.
    static const Portrait people[2] = {
        {show_assets::FIRST_PORTRAITS, "code, scenes, shaders", {150.f, 132.f}, 108.f, {0.f, 144.f}},
        {show_assets::SECOND_PORTRAITS, "music, sound, ink portraits", {746.f, 132.f}, 108.f, {384.f, 468.f}},
    };
    return people[who == 0 ? 0 : 1];
}

std::vector<Lettering> credits_page_lettering()
{
    // kesmo's lines start right of where its copies jump to, level with the
    // face; drulan's end left of its copies, level with its face.
    const Portrait& k = credits_person(0);
    const Portrait& d = credits_person(1);
    const float kx = portrait_reach(0).x1 + 20.f, dx = portrait_reach(1).x0 - 20.f;
    return {
        {"MORVANE", true, 112, 4.f, RIGHT, 126.f, true},
        {"a real-time demo for Linux", false, 30, 0.f, RIGHT, 196.f, true},
        {"ink, light and a synthesizer at dusk", false, 24, 0.f, RIGHT, 236.f, true},
        {k.name, true, NAME_PX, 2.f, kx, k.origin.y + 174.f, false},
        {k.role, false, ROLE_PX, 0.f, kx + 4.f, k.origin.y + 214.f, false},
        {d.name, true, NAME_PX, 2.f, dx, d.origin.y + 132.f, true},
        {d.role, false, ROLE_PX, 0.f, dx - 4.f, d.origin.y + 172.f, true},
        {"made for the PC demo competition", false, 24, 0.f, LEFT, 540.f, false},
        {"of a party at nightfall", false, 24, 0.f, LEFT, 574.f, false},
        {"thanks for watching", true, 44, 2.f, LEFT, 660.f, false},
    };
}

Box portrait_face_box(int who)
{
    const Portrait& p = credits_person(who);
    const float s = p.faceSize;
    return {p.face.x - s, p.face.y - 1.12f * s, p.face.x + s, 252.f};
}

Box portrait_reach(int who)
{
    const Portrait& p = credits_person(who);
    const Box f = portrait_face_box(who);
    return {p.origin.x + f.x0 - SHAKE_X, p.origin.y + f.y0 - SHAKE_Y - JUMP_Y, p.origin.x + f.x1 + SHAKE_X + JUMP_X,
            p.origin.y + f.y1 + SHAKE_Y};
}

float lettering_left(Typeface& face, const Lettering& l)
{
    return l.rightAligned ? l.x - face.measure(l.text, l.px, l.tracking) : l.x;
}

Box lettering_box(Typeface& face, const Lettering& l)
{
    const float left = lettering_left(face, l);
    const float width = face.measure(l.text, l.px, l.tracking);
    return {left, l.baseline - 1.05f * face.cap_height(l.px), left + width, l.baseline + 0.25f * float(l.px)};
}

void draw_lettering(Typeface& face, Ink& ink, const Lettering& l)
{
    face.draw(ink, l.text, lettering_left(face, l), l.baseline, l.px, l.tracking);
}
