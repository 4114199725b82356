// The horizontal smear: every row of a picture squeezed to one colour.
//
// Each pass of "horz_quater_resample_shader" averages four neighbouring
// texels of a row into one, so a squeeze draws the used part of the
// previous picture into a strip a quarter as wide. Nearest filtering keeps
// each fetch on one texel. Five squeezes take a 1280-wide row down to a
// single texel, which is then stretched across the whole destination.
// The temporaries take the source's size class so that they hold its rows.
#include <GL/gl.h>
#include <GL/glext.h>

#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/post_shaders.h"

namespace {
void set_filter(iRenderTarget* t, GLint mode)
{
    if (auto* fbo = dynamic_cast<cRenderTarget_fbo*>(t))
        fbo->set_filter(mode);
}

// The first 4 n texels of each row of src squeezed into the leftmost n
// pixels of dst, four texels into one. Only those columns are read next,
// so the rest of dst is neither cleared nor written.
void squeeze(iRenderTarget* dst, iRenderTarget* src, int n)
{
    cPassState into(cPassOptions().into(dst));
    src->bind_texture(GL_TEXTURE0_ARB);
    {
        cPassState quad(flat_2d());
        glColor4f(1.f, 1.f, 1.f, 1.f);
        const float right = float(n) / float(dst->width);
        const float h = float(src->height);
        glBegin(GL_QUADS);
        glTexCoord2f(0.f, 0.f);
        glVertex2f(0.f, 0.f);
        glTexCoord2f(4.f * float(n), 0.f);
        glVertex2f(right, 0.f);
        glTexCoord2f(4.f * float(n), h);
        glVertex2f(right, 1.f);
        glTexCoord2f(0.f, h);
        glVertex2f(0.f, 1.f);
        glEnd();
    }
    src->unbind_texture();
}
}  // namespace

namespace {
// src's rows squeezed; `use` gets the target whose first column holds
// them, read with nearest filtering, and no shader bound.
template <typename Use>
void smeared_rows(iRenderTarget* src, Use use)
{
    ensure_shader<cShdHorzResampleQuater>("horz_quater_resample_shader");
    cShaderManager_CG* sm = get_shader_manager();

    // A source of no class (a double-size one) squeezes through full-size
    // temporaries.
    eRTT c = get_rtt_type(src);
    if (c == RTT_NONE)
        c = RTT_FULL;
    cTmpRT p = get_flat_rt(c), q = get_flat_rt(c);
    set_filter(src, GL_NEAREST);
    set_filter(p.get(), GL_NEAREST);
    set_filter(q.get(), GL_NEAREST);

    {
        cPassState pass(cPassOptions().save(GL_CURRENT_BIT | GL_ENABLE_BIT).off(GL_BLEND).shaders(sm));
        sm->bind("horz_quater_resample_shader");
        // Squeeze while four texels are left to average: a 1280-texel row
        // takes five passes (320, 80, 20, 5, 1); texels past a multiple of
        // four drop out, as the last of the five does at 1280.
        iRenderTarget* from = src;
        iRenderTarget* to = p.get();
        for (int used = int(src->width); used >= 4; used /= 4) {
            squeeze(to, from, used / 4);
            from = to;
            to = (to == p.get()) ? q.get() : p.get();
        }
        sm->unbind();
        use(from);
    }
    set_filter(src, GL_LINEAR);
    set_filter(p.get(), GL_LINEAR);
    set_filter(q.get(), GL_LINEAR);
}
}  // namespace

void horz_smear_into(iRenderTarget* dst, iRenderTarget* src)
{
    smeared_rows(src, [dst](iRenderTarget* rows) {
        // The first texel column of the result stretched over all of dst.
        cPassState into(cPassOptions().into(dst));
        rows->bind_texture(GL_TEXTURE0_ARB);
        {
            cPassState quad(flat_2d());
            glColor4f(1.f, 1.f, 1.f, 1.f);
            draw_quad_rect(1.f, float(rows->height));
        }
        rows->unbind_texture();
    });
}

void horz_smear_comp(iRenderTarget* dst, iRenderTarget* src, iRenderTarget* b, int mode, float alpha)
{
    smeared_rows(src, [=](iRenderTarget* rows) { comp_rows(dst, rows, b, mode, alpha); });
}

void horz_smear_dodge_sinenoise_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p)
{
    smeared_rows(src, [=](iRenderTarget* rows) {
        set_filter(src, GL_LINEAR);  // the displacement reads between texels
        sinenoise_dodge_into(dst, src, rows, p);
    });
}
