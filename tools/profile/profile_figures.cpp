#include "profile/profile_figures.h"

#include <algorithm>
#include <map>

double copy_cost(const CopyCosts& c, long pixels)
{
    const size_t n = std::min(c.pixels.size(), c.ms.size());
    if (n == 0 || pixels <= 0)
        return 0;
    // Classes sorted by pixels, smallest first.
    std::vector<std::pair<long, double>> k;
    for (size_t i = 0; i < n; ++i)
        if (c.pixels[i] > 0)
            k.emplace_back(c.pixels[i], c.ms[i]);
    if (k.empty())
        return 0;
    std::sort(k.begin(), k.end());
    if (pixels <= k.front().first)
        return k.front().second * double(pixels) / double(k.front().first);
    if (pixels >= k.back().first)
        return k.back().second * double(pixels) / double(k.back().first);
    for (size_t i = 1; i < k.size(); ++i)
        if (pixels <= k[i].first) {
            const double f = double(pixels - k[i - 1].first) / double(k[i].first - k[i - 1].first);
            return k[i - 1].second + f * (k[i].second - k[i - 1].second);
        }
    return k.back().second;
}

CopyCosts median_copy_costs(const std::vector<CopyCosts>& runs)
{
    if (runs.empty())
        return CopyCosts();
    CopyCosts out = runs.front();
    for (size_t k = 0; k < out.ms.size(); ++k) {
        std::vector<double> v;
        for (const CopyCosts& r : runs)
            if (k < r.ms.size())
                v.push_back(r.ms[k]);
        std::sort(v.begin(), v.end());
        out.ms[k] = v[v.size() / 2];
    }
    return out;
}

float pass_samples(const std::string& s)
{
    if (s == "alpha_blur_shader" || s == "no_alpha_blur_shader")
        return 5.f;
    // The squeezes average four texels for each they write.
    if (s == "half_resample_shader" || s == "horz_quater_resample_shader")
        return 4.f;
    // Two inputs each: composition modes and the glow's additions.
    static const char* const dual[] = {"blend_comp", "add_comp", "dodge_comp", "screen_comp", "modulate_comp",
                                       "spill_shader", "coldodge_shader", "coldodge_mask_shader"};
    for (const char* name : dual)
        if (s == name)
            return 2.f;
    return 1.f;
}

double pass_floor(const CopyCosts& costs, long pixels, float samples)
{
    if (samples <= 0.f)
        return 0;
    return copy_cost(costs, pixels) * double(samples);
}

double picture_floor(const CopyCosts& costs, long fullPixels, size_t activeLayers)
{
    return double(activeLayers + 1) * copy_cost(costs, fullPixels);
}

double frame_floor(const CopyCosts& costs, const std::vector<PassFigure>& passes)
{
    double sum = 0;
    for (const PassFigure& p : passes)
        sum += pass_floor(costs, p.written(), p.samples);
    return sum;
}

namespace {
std::string section_name(const std::vector<std::string>& layers)
{
    if (layers.empty())
        return "(none)";
    std::string s;
    for (const std::string& l : layers)
        s += (s.empty() ? "" : " + ") + l;
    return s;
}

SectionFigure summarise(const std::vector<FrameFigure>& frames, size_t begin, size_t end, const std::string& name)
{
    SectionFigure s;
    s.name = name;
    if (begin >= end)
        return s;
    s.from = frames[begin].t;
    s.to = frames[end - 1].t;
    s.frames = int(end - begin);
    std::map<std::string, double> passMs;
    double sum = 0, floorSum = 0, pictureFloorSum = 0;
    for (size_t i = begin; i < end; ++i) {
        const FrameFigure& f = frames[i];
        sum += f.ms;
        floorSum += f.floorMs;
        pictureFloorSum += f.pictureFloorMs;
        if (f.ms > s.worstMs) {
            s.worstMs = f.ms;
            s.worstT = f.t;
        }
        for (const PassFigure& p : f.passes)
            passMs[p.scope + "/" + p.shader] += p.ms;
    }
    s.meanMs = sum / s.frames;
    s.meanFloorMs = floorSum / s.frames;
    s.meanPictureFloorMs = pictureFloorSum / s.frames;
    std::vector<std::pair<std::string, double>> all;
    for (const auto& e : passMs)
        all.emplace_back(e.first, e.second / s.frames);
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    all.resize(std::min<size_t>(all.size(), 3));
    s.top = all;
    return s;
}
}  // namespace

std::vector<SectionFigure> group_sections(const std::vector<FrameFigure>& frames)
{
    std::vector<SectionFigure> out;
    size_t begin = 0;
    for (size_t i = 1; i <= frames.size(); ++i)
        if (i == frames.size() || frames[i].layers != frames[begin].layers) {
            out.push_back(summarise(frames, begin, i, section_name(frames[begin].layers)));
            begin = i;
        }
    return out;
}

SectionFigure whole_run(const std::vector<FrameFigure>& frames)
{
    return summarise(frames, 0, frames.size(), "whole show");
}
