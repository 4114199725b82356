// The timeline's picture: what it shows, taken from the show's own
// composition, script and MIDI events, and `wendit timeline --plot` as a
// person drawing it uses it.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "support/midi_builder.h"
#include "support/run_tool.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"
#include "timeline_plot/timeline_drawing.h"

namespace {
const PlotVariable* variable(const TimelinePicture& p, const std::string& scene, const std::string& name)
{
    for (const PlotVariable& v : p.variables)
        if (v.scene == scene && v.name == name)
            return &v;
    return nullptr;
}

std::string write(const std::string& name, const std::string& content)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// Width and height from a PNG's header.
std::pair<int, int> png_size(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto be32 = [&](size_t at) {
        return int((uint8_t(bytes[at]) << 24) | (uint8_t(bytes[at + 1]) << 16) | (uint8_t(bytes[at + 2]) << 8) |
                   uint8_t(bytes[at + 3]));
    };
    return {be32(16), be32(20)};
}
}  // namespace

TEST(TimelinePlot, TheShowsLayersAndVariablesAreThoseItPlays)
{
    TimelinePicture p;
    p.from = 0;
    p.to = 93100;
    add_show_composition(p);

    ASSERT_EQ(p.layers.size(), 7u);
    std::string layers;
    for (const PlotLayer& l : p.layers)
        layers += std::to_string(l.number) + " " + l.scene + " " + comp_mode_name(l.mode) + "; ";
    EXPECT_EQ(layers, "20 mandalacube blend; 25 title modulate; 40 spikeball blend; 45 spacesphere blend; "
                      "50 blacknwhite screen; 60 smurf blend; 70 credits blend; ");
    // The fades as the show runs them: the cube half in at 1.1 s, the
    // title without a fade-out, the star's fade-out ending with its window.
    const PlotLayer& cube = p.layers[0];
    EXPECT_FLOAT_EQ(cube.opacity_at(99), 0.f);
    EXPECT_FLOAT_EQ(cube.opacity_at(100), 0.f);
    EXPECT_NEAR(cube.opacity_at(1100), 0.5f, 1e-3);
    EXPECT_FLOAT_EQ(cube.opacity_at(20000), 1.f);
    EXPECT_NEAR(cube.opacity_at(45000), 0.5f, 1e-3);
    EXPECT_FLOAT_EQ(p.layers[1].opacity_at(12800), 1.f);
    EXPECT_FLOAT_EQ(p.layers[1].opacity_at(12801), 0.f);
    EXPECT_NEAR(p.layers[4].opacity_at(83500), 0.5f, 1e-3);
    EXPECT_FLOAT_EQ(p.layers[4].opacity_at(86000), 0.f);

    // Ten animated variables, each with its scene, in layer order.
    std::string names;
    for (const PlotVariable& v : p.variables)
        names += v.scene + " " + v.name + "; ";
    EXPECT_EQ(names, "mandalacube cur_config; mandalacube backits; mandalacube threshold; spikeball desat; "
                     "spikeball cam_dist; blacknwhite force_noblink; blacknwhite cur_t; blacknwhite noise_t; "
                     "smurf curheadscale; smurf forceheadscale; ");
    const PlotVariable* cam = variable(p, "spikeball", "cam_dist");
    ASSERT_TRUE(cam);
    ASSERT_EQ(cam->curves.size(), 4u);
    EXPECT_EQ(cam->curves[0].kind, PlotCurve::set);
    EXPECT_EQ(cam->curves[1].kind, PlotCurve::smooth);
    EXPECT_EQ(cam->curves[3].kind, PlotCurve::lerp);
    EXPECT_FLOAT_EQ(cam->lo, 0.7f);
    EXPECT_FLOAT_EQ(cam->hi, 10.f);
    // The curves are what the interpolators write: a smooth step is halfway
    // at its middle and flat at its ends; after the last window the value holds.
    EXPECT_NEAR(cam->curves[1].at(25875), 1.5f, 1e-3);
    EXPECT_NEAR(cam->curves[1].at(25510) - 1.f, 0.f, 1e-3);
    EXPECT_NEAR(value_at(cam->curves, 41000, -1.f), 5.35f, 1e-3);
    EXPECT_FLOAT_EQ(value_at(cam->curves, 60000, -1.f), 10.f);
    EXPECT_FLOAT_EQ(value_at(cam->curves, 10000, -1.f), -1.f);
    const PlotVariable* config = variable(p, "mandalacube", "cur_config");
    ASSERT_TRUE(config);
    EXPECT_FLOAT_EQ(value_at(config->curves, 500, -1.f), 2.f);
    EXPECT_FLOAT_EQ(value_at(config->curves, 1500, -1.f), 2.f);
    EXPECT_FLOAT_EQ(value_at(config->curves, 3000, -1.f), 0.f);
}

TEST(TimelinePlot, MarkersAndNotesComeFromTheQueue)
{
    cEventQueue q;
    q.append(new cEvent(DE_SCENE_00, 0));
    q.append(new cEvent(DE_SCENE_00 + 2, 14500));
    q.append(new cEvent(DE_TECHNOFX, 14500));
    q.append(new cEvent(DE_SNARE, 3000));
    q.append(new cEvent(DE_MIDI_BEAT, 500));
    q.append(new cEvent(DE_QUIT, 93100));
    q.append(new cMETrigger(1000, iMidiEvent::KIND_NOTE_ON, 3, 36, 100));
    q.append(new cMETrigger(1500, iMidiEvent::KIND_NOTE_ON, 3, 48, 90));
    q.append(new cMETrigger(1600, iMidiEvent::KIND_NOTE_ON, 3, 50, 0));  // a note-off written as a note-on
    q.append(new cMETrigger(1700, iMidiEvent::KIND_NOTE_OFF, 3, 48, 0));
    q.append(new cMETrigger(900, iMidiEvent::KIND_NOTE_ON, 1, 60, 80));
    q.midi_track_names() = {"tempo", "pad\x01", "hits", "kick"};
    q.sort();

    TimelinePicture p;
    add_events(p, q);
    ASSERT_EQ(p.markers.size(), 4u);
    EXPECT_EQ(p.markers[1].text, "snare");
    EXPECT_FALSE(p.markers[1].scene);
    EXPECT_EQ(p.markers[2].ms, 14500);
    EXPECT_EQ(p.markers[2].text, "s02 technofx");
    EXPECT_TRUE(p.markers[2].scene);
    EXPECT_EQ(p.markers[3].text, "quit");
    ASSERT_EQ(p.tracks.size(), 2u);
    EXPECT_EQ(p.tracks[0].index, 1);
    EXPECT_EQ(p.tracks[0].name, "pad?");
    EXPECT_EQ(p.tracks[1].name, "kick");
    ASSERT_EQ(p.tracks[1].notes.size(), 2u);
    EXPECT_EQ(p.tracks[1].lowKey, 36);
    EXPECT_EQ(p.tracks[1].highKey, 48);

    // The loudness in 10 ms bins: a silent bin, a full-scale one, and the
    // short last bin.
    std::vector<int16_t> pcm(2 * 441 * 2 + 2 * 10, 0);
    for (size_t i = 2 * 441; i < 2 * 441 * 2; ++i)
        pcm[i] = (i / 2) % 2 ? 32767 : -32768;
    add_waveform(p, pcm, 44100);
    ASSERT_EQ(p.wave.lo.size(), 3u);
    EXPECT_FLOAT_EQ(p.wave.hi[0], 0.f);
    EXPECT_NEAR(p.wave.hi[1], 1.f, 1e-3);
    EXPECT_NEAR(p.wave.lo[1], -1.f, 1e-3);

    // Every layer, variable and track has its lane, one under the other.
    add_show_composition(p);
    p.from = 0;
    p.to = 93100;
    const PlotLayout l = layout_timeline(p, DEFAULT_PLOT_WIDTH);
    std::set<std::string> labels;
    int y = l.lanesTop;
    for (const PlotLane& lane : l.lanes) {
        EXPECT_EQ(lane.y, y) << lane.label;
        y += lane.height;
        labels.insert(lane.label);
    }
    EXPECT_EQ(y, l.lanesBottom);
    EXPECT_GT(l.height, l.lanesBottom);
    EXPECT_EQ(l.lanes.size(), 4 + p.layers.size() + p.variables.size() + p.tracks.size() + 1);
    for (const char* want : {"20 mandalacube", "70 credits", "spikeball cam_dist", "smurf forceheadscale",
                             "track 3 kick", "waveform"})
        EXPECT_TRUE(labels.count(want)) << want;
    EXPECT_DOUBLE_EQ(l.x_of(p, 0), l.plotLeft);
    EXPECT_DOUBLE_EQ(l.x_of(p, 93100), l.plotRight);
    EXPECT_NEAR(l.t_of(p, l.x_of(p, 44000)), 44000, 1e-6);
}

// The markers' labels: none covers another, none leaves the picture, and a
// stretch labels only the markers within it.
TEST(TimelinePlot, MarkerLabelsStayApartAndInThePicture)
{
    TimelinePicture p;
    p.from = 0;
    p.to = 10000;
    for (int ms : {0, 100, 200, 300, 5000, 9900, 10000})
        p.markers.push_back(PlotMarker{ms, "s0" + std::to_string(ms % 7) + " technofx2", true});
    p.markers.push_back(PlotMarker{12000, "beyond", false});
    const PlotLayout l = layout_timeline(p, MIN_PLOT_WIDTH);
    ASSERT_EQ(l.markerLabels.size(), 7u);
    EXPECT_GE(l.markerRows, 3);
    for (size_t i = 0; i < l.markerLabels.size(); ++i) {
        const PlotMarkerLabel& a = l.markerLabels[i];
        EXPECT_GE(a.left, 0);
        EXPECT_LE(a.right, l.width);
        for (size_t j = 0; j < i; ++j) {
            const PlotMarkerLabel& b = l.markerLabels[j];
            if (a.row == b.row) {
                EXPECT_TRUE(a.left >= b.right || b.left >= a.right) << i << " over " << j;
            }
        }
    }
    // The last one stands left of its line, at the right end.
    EXPECT_LT(l.markerLabels.back().right, l.x_of(p, 10000));
    EXPECT_GT(l.axisTop, l.markerTop + (l.markerRows - 1) * 11);

    p.from = 4000;
    p.to = 6000;
    const PlotLayout stretch = layout_timeline(p, MIN_PLOT_WIDTH);
    ASSERT_EQ(stretch.markerLabels.size(), 1u);
    EXPECT_EQ(p.markers[stretch.markerLabels[0].marker].ms, 5000);
    EXPECT_EQ(stretch.markerRows, 1);
}

TEST(TimelinePlot, WenditDrawsPngAndSvgAndRefusesBadArguments)
{
    const std::string dir = testing::TempDir();
    const std::string markers =
        write("plot_markers.txt", "s00 0:0:0:0\nsnare 0:0:1:0\nbeats 0:0:2:0\ns01 0:0:3:0\nquit 0:0:6:0\n");
    MidiTrackBuilder t0;
    t0.name(0, "tempo").tempo(0, 500000).end();
    MidiTrackBuilder t1;
    t1.name(0, "kick").on(48, 36, 100).off(48, 36).on(96, 40, 100).off(48, 40).end();
    const std::string midi = write("plot.mid", MidiFileBuilder(96).track(t0).track(t1).str());
    const std::string base = "./wendit timeline --markers '" + markers + "' --midi '" + midi + "' ";

    // Without music the picture is drawn, with a warning that says so.
    const std::string png = dir + "plot.png";
    std::remove(png.c_str());
    ToolRun r = run_tool(base + "--music nothing.mp3 --plot '" + png + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find(markers + ":3: unknown token beats"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("## WARNING: the music nothing.mp3 does not decode"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("wendit timeline: wrote " + png + " (1600x"), std::string::npos) << r.out;
    const auto size = png_size(read_whole_file(png));
    EXPECT_EQ(size.first, 1600);
    EXPECT_GT(size.second, 800);

    const std::string svg = dir + "plot.SVG";
    r = run_tool(base + "--plot '" + svg + "' --from s01 --to 4.5 --width 1200");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string text = read_whole_file(svg);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("width=\"1200"), std::string::npos);

    // Refusals: one line naming what is wrong, exit 2, nothing written.
    const std::string never = dir + "never.png";
    std::remove(never.c_str());
    struct Case {
        std::string args, message;
    } cases[] = {
        {"--plot '" + dir + "plot.jpg'", "--plot '" + dir + "plot.jpg': the picture is a .png or an .svg file"},
        {"--plot '" + never + "' --from 5 --to 2", "is empty"},
        {"--plot '" + never + "' --from s07", "s07"},
        {"--plot '" + never + "' --to 7", "lies outside the show"},
        {"--plot '" + never + "' --width 100", "--width '100': give 800 to 8000 pixels"},
        {"--from 2", "--from, --to, --width and --music draw a picture: give --plot FILE.png or FILE.svg"},
        {"--plot", "--plot needs a value"},
        {"--plot '" + never + "' --solo x", "unexpected argument '--solo'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        r = run_tool(base + c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("wendit timeline: wrote"), std::string::npos);
    }
    EXPECT_TRUE(read_whole_file(never).empty());

    r = run_tool(base + "--plot '" + dir + "no/such/dir/plot.png'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("wendit timeline: cannot write '" + dir + "no/such/dir/plot.png'"), std::string::npos)
        << r.err;
}
