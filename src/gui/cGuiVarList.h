#pragma once
// The slider panel: a column of rows, each pairing a tweakable variable
// with the control that shows or edits it (a slider for int, float and
// double, three sliders for a Vec3, a label for text). Scenes fill it from
// their fillGui; the demo owns it, places it, clears and refills it.
//
// Dragging a slider writes the value back into the variable at once (an int
// rounds to nearest); values changed elsewhere show up on the next draw.
// The panel owns the variables and controls of its rows.
//
// A press grabs the control under the pointer; the grab holds until every
// button is up. The grab is remembered by the value it edits, not by the
// control: a scene may clear and refill the panel while a person drags
// (some do on every frame), and the refilled row bound to the same value
// takes the grab over.
#include <string>
#include <utility>
#include <vector>

#include "gui/cGuiRectangle.h"
#include "gui/cGuiTxtLabel.h"
#include "tweak/iVar.h"

struct cInputState;

class cGuiVarList : public cGuiRectangle {
public:
    cGuiVarList() = default;
    ~cGuiVarList() override;
    cGuiVarList(const cGuiVarList&) = delete;
    cGuiVarList& operator=(const cGuiVarList&) = delete;

    // Empties the rows and darkens the background.
    void init() override;
    bool handleEvent(int type, float px, float py) override;
    void draw() override;
    bool isActive() override { return false; }

    void addFloat(const std::string& name, float* target, float lo, float hi);
    void addDouble(const std::string& name, double* target, float lo, float hi);
    void addInt(const std::string& name, int* target, float hi);
    void addVec3(const std::string& name, Vec3<float>* target, float lo, float hi);
    void addText(const std::string& name, std::string* target);
    // Frees every row.
    void clear();
    // One line per row on standard error: name, a blank, the value.
    void dump() const;

    // Places rows (done by draw when rows were added).
    void layout();
    // Copies the variables' current values into the sliders.
    void sync_values();

    size_t size() const { return m_rows.size(); }
    const std::vector<std::pair<iVar*, iGuiNode*>>& rows() const { return m_rows; }

    // Where mouse buttons are read from; the process-wide input by default.
    const cInputState* input = nullptr;

    static constexpr size_t NAME_CHARS = 20;
    static constexpr float ROW_HEIGHT = 0.03f;
    static constexpr float SLIDER_HEIGHT = 0.025f;

private:
    void append(iVar* var, iGuiNode* node, bool relayout);
    void write_back(iVar* var, iGuiNode* node);
    int buttons_held() const;
    // Ungrabs every row, then grabs the one under the pointer.
    void grab_at(float px, float py);
    // Re-grabs node when var edits what the grab was on.
    void carry_grab(iVar* var, iGuiNode* node);

    // What the grabbed row edits: the target and name of its variable, and
    // for a Vec3 the member slider (0..2; -1 for a single slider).
    struct Grab {
        void* target = nullptr;
        std::string name;
        int member = -1;
    } m_grab;
    int m_lastButtons = 0;

    unsigned char m_relayout = 0;
    std::vector<std::pair<iVar*, iGuiNode*>> m_rows;
    cGuiTxtLabel m_label;
};

// Text of a float as the panel shows it.
std::string gui_float_text(float v);
