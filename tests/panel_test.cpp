// The slider panel: drawing checked by reading pixels back, dragging by
// sending it pointer events.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gui/cGuiSlider.h"
#include "gui/cGuiTxtLabel.h"
#include "gui/cGuiVarList.h"
#include "gui/cGuiVec3Slider.h"
#include "gui/font_layout.h"
#include "platform/cInputState.h"
#include "support/baked_data.h"
#include "support/gl_fixture.h"

namespace {
// Draws in window units with blending, as the demo's overlay does.
class Panel : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        use_baked_textures();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 1, 0, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        list.input = &input;
        list.init();
        list.setPosition(0.05f, 0.05f);
        list.setSize(0.9f, 0.65f);
    }
    void TearDown() override
    {
        list.clear();
        glPopAttrib();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        GLTest::TearDown();
    }
    // Window-unit point to a pixel.
    static Rgba at(float x, float y) { return read_pixel(int(x * 1280.f), int(y * 720.f)); }
    // Hover at (x, y), press button 1 there, drag to (tx, y), release.
    void drag(float x, float y, float tx)
    {
        list.handleEvent(GUI_DRAG, x, y);
        input.buttons[1] = 1;
        list.handleEvent(GUI_DRAG, x, y);
        list.handleEvent(GUI_DRAG, tx, y);
        input.buttons[1] = 0;
        list.handleEvent(GUI_DRAG, tx, y);
    }
    cInputState input;
    cGuiVarList list;
};
}  // namespace

TEST_F(Panel, SliderBarRunsFromZeroToTheValue)
{
    cGuiSlider s(-1.f, 1.f, 0.f);
    s.setPosition(0.1f, 0.5f);
    s.setSize(0.8f, 0.1f);
    s.draw();
    const Rgba frame = at(0.3f, 0.55f);
    EXPECT_TRUE(near_rgba(at(0.65f, 0.55f), frame, 2)) << "value 0 draws no bar";
    glClear(GL_COLOR_BUFFER_BIT);
    s.value = 0.5f;
    s.draw();
    EXPECT_GT(at(0.6f, 0.55f).r, frame.r + 80) << "white bar between the middle and three quarters";
    EXPECT_TRUE(near_rgba(at(0.75f, 0.55f), frame, 2));
    EXPECT_TRUE(near_rgba(at(0.3f, 0.55f), frame, 2));
}

TEST_F(Panel, EmptyRangeSliderDrawsOnlyItsFrameAndIgnoresDrags)
{
    cGuiSlider s(2.f, 2.f, 2.f);
    s.setPosition(0.1f, 0.5f);
    s.setSize(0.8f, 0.1f);
    s.draw();
    EXPECT_TRUE(near_rgba(at(0.5f, 0.55f), at(0.2f, 0.55f), 2));
    EXPECT_TRUE(s.handleEvent(GUI_GRAB, 0.5f, 0.55f));
    s.handleEvent(GUI_DRAG, 0.9f, 0.55f);
    EXPECT_EQ(s.value, 2.f);
}

TEST_F(Panel, DraggingSetsTheVariableAndStaysInRange)
{
    float f = 0.f;
    list.addFloat("float", &f, -10.f, 10.f);
    list.draw();  // lays the rows out
    float x, y;
    list.rows()[0].second->getPosition(x, y);
    const float w = list.height;  // sliders are as wide as the panel is high
    drag(x + w / 2, y + 0.01f, x - 0.1f);
    EXPECT_EQ(f, -10.f) << "left of the slider is the minimum";
    drag(x + w / 2, y + 0.01f, x + w + 0.2f);
    EXPECT_EQ(f, 10.f) << "right of it the maximum";
    drag(x + w / 2, y + 0.01f, x + w * 0.75f);
    EXPECT_NEAR(f, 5.f, 1e-4);
}

TEST_F(Panel, IntSlidersRoundToNearest)
{
    int n = 0;
    list.addInt("count", &n, 10.f);
    list.draw();
    float x, y;
    list.rows()[0].second->getPosition(x, y);
    const float w = list.height;
    drag(x + 0.01f, y + 0.01f, x + w * 0.26f);
    EXPECT_EQ(n, 3);
    drag(x + 0.01f, y + 0.01f, x + w * 0.24f);
    EXPECT_EQ(n, 2);
}

TEST_F(Panel, HoverHighlightsWithoutChangingAnything)
{
    float f = 0.25f;
    double d = 0.5;
    list.addFloat("a", &f, 0.f, 1.f);
    list.addDouble("b", &d, 0.f, 1.f);
    list.draw();
    float x, y;
    list.rows()[1].second->getPosition(x, y);
    EXPECT_FALSE(list.handleEvent(GUI_DRAG, x + 0.3f, y + 0.01f));
    EXPECT_TRUE(list.rows()[1].second->isActive());
    EXPECT_FALSE(list.rows()[0].second->isActive());
    EXPECT_EQ(f, 0.25f);
    EXPECT_EQ(d, 0.5);
    glClear(GL_COLOR_BUFFER_BIT);
    list.draw();
    // the highlight quad spans the row, left of the names too
    EXPECT_GT(at(0.051f, y + 0.028f).r, 90);
    float y0;
    list.rows()[0].second->getPosition(x, y0);
    EXPECT_LT(at(0.051f, y0 + 0.028f).r, 60);
}

TEST_F(Panel, ValuesChangedElsewhereShowOnTheNextDraw)
{
    Vec3<float> v{0.f, 0.f, 0.f};
    list.addVec3("v", &v, -1.f, 1.f);
    auto* s = static_cast<cGuiVec3Slider*>(list.rows()[0].second);
    v.y = 0.75f;
    list.draw();
    EXPECT_EQ(s->sliders[1].value, 0.75f);
    // Dragging the middle member changes y only.
    float x, y;
    s->sliders[1].getPosition(x, y);
    drag(x + 0.01f, y + 0.01f, x + s->sliders[1].width);
    EXPECT_NEAR(v.y, 1.f, 1e-5);
    EXPECT_EQ(v.x, 0.f);
    EXPECT_EQ(v.z, 0.f);
}

TEST_F(Panel, LabelsDrawTheFontsCellsAndSkipUnknownCharacters)
{
    cGuiTxtLabel label("A -");
    label.setPosition(0.4f, 0.4f);
    glColor4f(1.f, 1.f, 1.f, 1.f);
    label.draw();
    // Count lit pixels in each character's square.
    auto lit = [](int cell) {
        int count = 0;
        const int px = int(0.4f * 1280) + cell * 13, py = int(0.4f * 720);
        unsigned char buf[12 * 12 * 4];
        glReadPixels(px, py, 12, 12, GL_RGBA, GL_UNSIGNED_BYTE, buf);
        for (int i = 0; i < 12 * 12; ++i)
            count += buf[i * 4] > 100;
        return count;
    };
    EXPECT_GT(lit(0), 10) << "A";
    EXPECT_EQ(lit(1), 0) << "a blank leaves a gap";
    EXPECT_GT(lit(2), 2) << "-";
    EXPECT_LT(lit(2), lit(0));
}

TEST_F(Panel, LongNamesAreCutToTwentyCharacters)
{
    std::string text;
    list.addText("abcdefghijklmnopqrstuvwxyz", &text);
    glColor4f(1.f, 1.f, 1.f, 1.f);
    list.draw();
    float x, y;
    list.rows()[0].second->getPosition(x, y);
    auto lit_between = [&](float x0, float x1) {
        const int w = int((x1 - x0) * 1280);
        std::vector<unsigned char> buf(size_t(w) * 12 * 4);
        glReadPixels(int(x0 * 1280), int(y * 720), w, 12, GL_RGBA, GL_UNSIGNED_BYTE, buf.data());
        int count = 0;
        for (int i = 0; i < w * 12; ++i)
            count += buf[size_t(i) * 4] > 150;
        return count;
    };
    EXPECT_GT(lit_between(0.05f, 0.24f), 50);
    EXPECT_EQ(lit_between(0.252f, 0.31f), 0);
}

TEST(FontLayout, CellsFollowTheFontImage)
{
    int s, t;
    ASSERT_TRUE(font_cell('A', s, t));
    EXPECT_EQ(s, 200);
    EXPECT_EQ(t, 0);
    ASSERT_TRUE(font_cell('z', s, t));
    EXPECT_EQ(s, 700);
    EXPECT_EQ(t, 20);
    ASSERT_TRUE(font_cell('7', s, t));
    EXPECT_EQ(s, 140);
    EXPECT_EQ(t, 20);
    ASSERT_TRUE(font_cell(')', s, t));
    EXPECT_EQ(s, 180);
    EXPECT_FALSE(font_cell(' ', s, t));
    EXPECT_FALSE(font_cell('_', s, t));
}

TEST(PanelText, DumpListsNamesAndValues)
{
    cGuiVarList list;
    float f = 1.5f;
    int n = 7;
    std::string s = "hi there";
    list.addFloat("f", &f, 0, 2);
    list.addInt("n", &n, 10);
    list.addText("s", &s);
    testing::internal::CaptureStderr();
    list.dump();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "f 1.5\nn 7\ns hi there\n");
    list.clear();
    EXPECT_EQ(list.size(), 0u);
}
