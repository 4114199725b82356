#include "gui/cGuiTxtLabel.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gl/gl_extensions.h"
#include "gui/font_layout.h"
#include "platform/WindowConfig.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

void cGuiTxtLabel::init()
{
    get_resource_path()->push_searchpath("../data/textures");
}

void cGuiTxtLabel::draw()
{
    drawText(text, x, y);
}

void cGuiTxtLabel::load_font()
{
    if (!font.loaded())
        font = get_texture_manager()->get_texture(fontFile, false, GL_CLAMP, 0);
}

void cGuiTxtLabel::drawText(const std::string& s, float px, float py)
{
    load_font();
    const WindowConfig* wc = window_config();
    const float w = CHAR_WIDTH;
    const float h = CHAR_WIDTH * float(wc->width) / float(wc->height);
    // A rectangle font is addressed in texels, a 2-D one in 0..1.
    const bool rect = font.target == GL_TEXTURE_RECTANGLE_ARB;
    const float su = rect ? 1.f : 1.f / float(font.width);
    const float tu = rect ? 1.f : 1.f / float(font.height);

    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glEnable(font.target);
    glBindTexture(font.target, font.id);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    for (size_t i = 0; i < s.size(); ++i) {
        int cs = 0, ct = 0;
        if (!font_cell(s[i], cs, ct))
            continue;
        const float x0 = px + w * float(i), x1 = x0 + w;
        const float s0 = float(cs) * su, s1 = float(cs + FONT_CELL) * su;
        const float t0 = float(ct) * tu, t1 = float(ct + FONT_CELL) * tu;
        glTexCoord2f(s0, t0);
        glVertex2f(x0, py);
        glTexCoord2f(s1, t0);
        glVertex2f(x1, py);
        glTexCoord2f(s1, t1);
        glVertex2f(x1, py + h);
        glTexCoord2f(s0, t1);
        glVertex2f(x0, py + h);
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(font.target, 0);
    glPopAttrib();
}
