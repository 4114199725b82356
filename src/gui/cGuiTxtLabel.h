#pragma once
// A line of text drawn with the bitmap font, one 0.01-wide cell per
// character (square on screen), in the current colour.
#include <string>

#include "gui/iGuiNode.h"
#include "util/engine_files.h"
#include "texture/cTexture.h"

class cGuiTxtLabel : public iGuiNode {
public:
    cGuiTxtLabel() = default;
    explicit cGuiTxtLabel(const std::string& t) : text(t) {}

    // Makes the font's directory searchable.
    void init() override;
    bool handleEvent(int, float, float) override { return false; }
    void draw() override;
    bool hitTest(float, float) override { return false; }
    void setPosition(float px, float py) override { x = px; y = py; }
    void getPosition(float& px, float& py) override { px = x; py = y; }
    bool isActive() override { return false; }

    void setText(const std::string& t) { text = t; }
    // Loads the font now; drawing loads it on first use otherwise.
    void load_font();
    // Draws s at (px, py) with this label's font.
    void drawText(const std::string& s, float px, float py);

    static constexpr float CHAR_WIDTH = 0.01f;

    float x = 0.f, y = 0.f;
    std::string text;
    cTexture font;
    std::string fontFile = engine_files::PANEL_FONT;
};
