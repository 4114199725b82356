#pragma once
// Where the credits page's lettering and faces go. The page is the whole
// 1280 x 720 screen (y down); each portrait series is a 0.7 x 0.35 strip
// of it (896 x 252) that the scene prints over the page in five shaky
// copies: the first strip with its upper left corner at (0, 144), the
// second at (384, 468). A copy now and then jumps up to a quarter of the
// screen to the right and up, so the strips hold the faces alone and the
// page letters each name and role beside its face, clear of every place a
// copy of a face can land.
#include <string>
#include <vector>

#include "assets/ink.h"

class Typeface;

struct Lettering {
    std::string text;
    bool display;    // the title's heavy face; else the text face
    int px;          // em size in pixels
    float tracking;  // extra pixels between letters
    float x;         // left end, or right end when rightAligned
    float baseline;
    bool rightAligned;
};

struct Box {
    float x0, y0, x1, y1;
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

struct Portrait {
    const char* name;
    const char* role;
    Pt face;         // centre of the face in the strip
    float faceSize;  // head units to pixels
    Pt origin;       // the strip's upper left corner on the page
};

// kesmo (0) and drulan (1).
const Portrait& credits_person(int who);
// The page's lettering, in page pixels: the title and its lines, each
// name with its role, the closing lines.
std::vector<Lettering> credits_page_lettering();
// The box a face takes in its strip: hair, headphones, shoulders.
Box portrait_face_box(int who);
// Every place on the page a copy of that face can cover: its box moved by
// the copies' shake and by their jumps right and up.
Box portrait_reach(int who);

// The left end of a line once its width is known.
float lettering_left(Typeface& face, const Lettering& l);
// The box of a line's ink: cap height above the baseline, descenders below.
Box lettering_box(Typeface& face, const Lettering& l);
// Draws a line into the ink.
void draw_lettering(Typeface& face, Ink& ink, const Lettering& l);
