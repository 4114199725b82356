#include "profile/profile_report.h"

#include <cstdio>
#include <ostream>

#include "util/time_code.h"

namespace {
std::string fmt(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

void section_row(std::ostream& out, const SectionFigure& s)
{
    out << time_code(s.from) << " - " << time_code(s.to) << "  " << s.name << "\n";
    out << "    " << s.frames << " frames, mean " << fmt("%.1f", s.meanMs) << " ms (" << fmt("%.1f", s.fps())
        << " fps), worst " << fmt("%.1f", s.worstMs) << " ms at " << time_code(s.worstT) << ", floor "
        << fmt("%.1f", s.meanFloorMs) << " ms, " << fmt("%.2f", s.floorMultiple()) << "x the floor\n";
    out << "    picture floor " << fmt("%.1f", s.meanPictureFloorMs)
        << " ms (a full picture written per layer and one for the frame), " << fmt("%.2f", s.pictureFloorMultiple())
        << "x the picture floor\n";
    for (const auto& p : s.top)
        out << "      " << fmt("%6.2f", p.second) << " ms  " << p.first << "\n";
}
}  // namespace

void write_profile_table(std::ostream& out, const std::vector<SectionFigure>& sections,
                         const SectionFigure& whole, const CopyCosts& copies, const ProfileMemory& m,
                         bool timerQueries)
{
    out << "plain copy:";
    for (size_t i = 0; i < copies.pixels.size(); ++i)
        out << "  " << copies.pixels[i] << " px " << fmt("%.2f", copies.ms[i]) << " ms";
    out << "\npass times: wall with the renderer's work finished" << (timerQueries ? "; GL timer queries in the CSV" : "; the driver has no timer queries") << "\n\n";
    for (const SectionFigure& s : sections)
        section_row(out, s);
    out << "\n";
    section_row(out, whole);
    out << "\npeak resident memory " << fmt("%.1f", double(m.peakResidentKb) / 1024.0) << " MB; render targets "
        << m.targets << ", " << fmt("%.1f", m.targetMb) << " MB; textures " << m.textures << ", "
        << fmt("%.1f", m.textureMb) << " MB\n";
    out << "render targets created during the show: " << m.targetsCreatedInShow << "\n";
}

void write_profile_csv(std::ostream& out, const std::vector<FrameFigure>& frames)
{
    out << "time_ms,frame_ms,frame_cpu_ms,floor_ms,layers,layer_ms,scope,shader,pixels,fragments,samples,pass_ms,pass_gpu_ms,pass_cpu_ms\n";
    for (const FrameFigure& f : frames) {
        std::string layers;
        for (const std::string& l : f.layers)
            layers += (layers.empty() ? "" : "+") + l;
        // Each layer scene's render, "name:ms" separated by spaces.
        std::string layerMs;
        for (const auto& l : f.layerMs)
            layerMs += (layerMs.empty() ? "" : " ") + l.first + ":" + fmt("%.3f", l.second);
        const std::string head = std::to_string(f.t) + "," + fmt("%.3f", f.ms) + "," + fmt("%.3f", f.cpuMs) + "," +
                                 fmt("%.3f", f.floorMs) + "," + layers + "," + layerMs;
        if (f.passes.empty())
            out << head << ",,,,,,,,\n";
        for (const PassFigure& p : f.passes)
            out << head << "," << p.scope << "," << p.shader << "," << p.pixels << ","
                << (p.fragments < 0 ? std::string() : std::to_string(p.fragments)) << "," << fmt("%g", p.samples) << ","
                << fmt("%.3f", p.ms) << "," << (p.gpuMs < 0 ? std::string() : fmt("%.3f", p.gpuMs)) << ","
                << fmt("%.3f", p.cpuMs) << "\n";
    }
}
