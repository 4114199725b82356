#include "gui/font_layout.h"

bool font_cell(char c, int& s, int& t)
{
    if (c >= 'A' && c <= 'Z') {
        s = 200 + FONT_CELL * (c - 'A');
        t = 0;
        return true;
    }
    if (c >= 'a' && c <= 'z') {
        s = 200 + FONT_CELL * (c - 'a');
        t = FONT_CELL;
        return true;
    }
    if (c >= '0' && c <= '9') {
        s = FONT_CELL * (c - '0');
        t = FONT_CELL;
        return true;
    }
    t = 0;
    switch (c) {
    case '-': s = 60; return true;
    case '.': s = 80; return true;
    case ':': s = 100; return true;
    case ',': s = 120; return true;
    case '(': s = 160; return true;
    case ')': s = 180; return true;
    default: return false;
    }
}
