#pragma once
// Image passes over render targets.
//
// The plain forms draw src over whatever target or window is bound; the
// "into" forms bind dst themselves. A pass that writes every pixel of dst
// with blending off does not clear it first: on the software renderer a
// clear costs as much as a fifth of a copy, and the pass replaces it all. Every
// pass leaves the bound shader, the texture units (unit 0 active), the
// matrices, the depth write mask and the enable bits as it found them;
// comp and the levels-based forms leave the clear colour at (0, 0, 0, 0).
// Each family registers its shaders the first time one of its passes runs.
#include <vector>

#include "post/post_params.h"

class iRenderTarget;
class cTmpRT;
class cGuiVarList;

void sinenoise_pass(iRenderTarget* src, const cSineNoiseParams& p);
void sinenoise_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p);
// The displacement, then levels, in one pass (as sinenoise_into followed
// by levels_into).
void sinenoise_levels_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p, const cLevelsParams& l);
// src dodged by rows (their first column: one colour a row) and displaced
// by the sine noise into dst, in one pass.
void sinenoise_dodge_into(iRenderTarget* dst, iRenderTarget* src, iRenderTarget* rows, const cSineNoiseParams& p);
void radialblur_pass(iRenderTarget* src, const cRadialBlurParams& p);
void radialblur_into(iRenderTarget* dst, iRenderTarget* src, const cRadialBlurParams& p);
// The rays of src at the blurred picture's size (the params' size class),
// for a pass that magnifies them as it reads them.
cTmpRT radialblur_rays(iRenderTarget* src, const cRadialBlurParams& p);
void levels_pass(iRenderTarget* src, const cLevelsParams& p);
void levels_into(iRenderTarget* dst, iRenderTarget* src, const cLevelsParams& p);
void hsb_pass(iRenderTarget* src, const cHSBParams& p);
void hsb_into(iRenderTarget* dst, iRenderTarget* src, const cHSBParams& p);
// Levels, then hue/saturation/brightness, in one pass (as levels_into
// followed by hsb_into).
void levels_hsb_into(iRenderTarget* dst, iRenderTarget* src, const cLevelsParams& l, const cHSBParams& h);
void scroll_pass(iRenderTarget* src, const float values[4]);
void scroll_into(iRenderTarget* dst, iRenderTarget* src, const float values[4]);
void invert_pass(iRenderTarget* src);
void invert_into(iRenderTarget* dst, iRenderTarget* src);
void coloroffset_pass(iRenderTarget* src, float value);
void coloroffset_into(iRenderTarget* dst, iRenderTarget* src, float value);

// Separable blur through one temporary of dst's size class; src and dst
// may be the same target.
void blur(iRenderTarget* src, iRenderTarget* dst, bool with_alpha);
// a (unit 0) composed onto b (unit 1) into dst, weighted by alpha. A mode
// that is none of the five draws with whatever shader was bound.
void comp(iRenderTarget* dst, iRenderTarget* a, iRenderTarget* b, int mode, float alpha);
// The same with a's first column stretched across every row of dst (a
// must read it for the whole texel: nearest filtering, or linear at its
// centre).
void comp_rows(iRenderTarget* dst, iRenderTarget* rows, iRenderTarget* b, int mode, float alpha);
// A layer for comp_layers: its picture, eCompMode and opacity.
struct cCompLayer {
    iRenderTarget* picture;
    int mode;
    float opacity;
};
// The layers composed in order onto transparent black into dst, each as
// comp would lay it onto the picture beneath, all in one pass (up to four;
// more go on from the first four's picture); no layers clear dst. Only
// the result is rounded to 8 bits a channel, not each layer's step.
void comp_layers(iRenderTarget* dst, const std::vector<cCompLayer>& layers);
// The same drawn over the bound target (the window) with the glow added as
// spill_pass adds it, in the same pass: the composed picture is not
// written anywhere else.
void comp_layers_spill(const std::vector<cCompLayer>& layers, iRenderTarget* glow);
// What rises above threshold_low, blurred, stretched to full range by
// threshold_high.
void glow_into(iRenderTarget* dst, iRenderTarget* src, const cGlowParams& p);
// b (a glow) added to a.
void spill_pass(iRenderTarget* a, iRenderTarget* b);
void spill_into(iRenderTarget* dst, iRenderTarget* a, iRenderTarget* b);
// src with its own glow added.
void spill_glow_into(iRenderTarget* dst, iRenderTarget* src, const cGlowParams& p);

// Every row of src squeezed to one colour (four texels averaged into one,
// pass after pass, until one is left) and stretched across dst's row.
// Filters of src are linear again afterwards.
void horz_smear_into(iRenderTarget* dst, iRenderTarget* src);
// The smeared rows composed onto b into dst in `mode` (as comp), without
// writing the stretched rows anywhere first.
void horz_smear_comp(iRenderTarget* dst, iRenderTarget* src, iRenderTarget* b, int mode, float alpha);
// src's smeared rows dodged over it and the sine noise's displacement in
// one pass after the squeezes (as horz_smear_comp in COMP_DODGE, then
// sinenoise_into).
void horz_smear_dodge_sinenoise_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p);

// Slider-panel rows for the records.
void add_sinenoise_gui(cGuiVarList& list, cSineNoiseParams& p);
void add_radialblur_gui(cGuiVarList& list, cRadialBlurParams& p);
void add_levels_gui(cGuiVarList& list, cLevelsParams& p);
void add_hsb_gui(cGuiVarList& list, cHSBParams& p);

// Registers a family's shaders now (the passes do it on first use).
void ensure_post_shaders();
void ensure_comp_shaders();
void ensure_spill_shaders();
