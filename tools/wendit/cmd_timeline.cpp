// wendit timeline: loads the marker script and then the MIDI file exactly as
// the show does, and prints every queued event in the order the show fires
// them, one tab-separated line each; or, with --plot, draws the whole
// timeline (the composition's layers and variables too, and the music)
// into a picture.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "offline/capture_options.h"
#include "commands.h"
#include "platform/mp3_decode.h"
#include "runtime/cSceneManager.h"
#include "util/engine_files.h"
#include "scenes/show_assets.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/cMidiReader.h"
#include "timeline/iMidiEvent.h"
#include "timeline_plot/timeline_drawing.h"
#include "util/printable_text.h"

namespace {
const char* const DEFAULT_MIDI = show_assets::MIDI_FROM_BIN;
const int MUSIC_RATE = 44100;

void usage()
{
    std::cerr << "usage: wendit timeline [--markers FILE] [--midi FILE] [--plot FILE.png|FILE.svg [--from TIME|MARKER]"
                 " [--to TIME|MARKER] [--width N] [--music FILE]]"
              << std::endl;
}

int refuse(const std::string& what)
{
    std::cerr << "wendit timeline: " << what << std::endl;
    usage();
    return 2;
}

std::string base_name(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct PlotRequest {
    std::string path, music = engine_files::MUSIC;
    CaptureOptions range;  // --from and --to, resolved as capture resolves them
    int width = DEFAULT_PLOT_WIDTH;
};

// The picture of the queue's span: the show's composition, the queue's
// markers and notes, the music beneath.
int plot(const cEventQueue& queue, PlotRequest& r, const std::string& markers, const std::string& midi)
{
    std::string error;
    if (!check_range(queue, r.range, error))
        return refuse(error);
    TimelinePicture p;
    p.from = r.range.fromMs;
    p.to = r.range.toMs;
    p.title = base_name(markers) + ", " + base_name(midi) + ", " + base_name(r.music);
    add_show_composition(p);
    add_events(p, queue);
    std::vector<int16_t> pcm;
    std::string detail;
    if (decode_mp3_file(r.music, MUSIC_RATE, pcm, detail) == Mp3DecodeResult::ok)
        add_waveform(p, pcm, MUSIC_RATE);
    else
        std::cerr << "## WARNING: the music " << r.music << " does not decode"
                  << (detail.empty() ? std::string() : " (" + detail + ")") << ": the picture has no waveform"
                  << std::endl;
    if (!write_timeline_plot(p, r.path, r.width, error)) {
        std::cerr << "wendit timeline: " << error << std::endl;
        return 1;
    }
    const PlotLayout l = layout_timeline(p, r.width);
    std::cout << "wendit timeline: wrote " << r.path << " (" << l.width << "x" << l.height << ", " << p.layers.size()
              << " layers, " << p.variables.size() << " variables, " << p.markers.size() << " markers, "
              << p.tracks.size() << " MIDI tracks)" << std::endl;
    return 0;
}

}  // namespace

int cmd_timeline(const Args& args)
{
    std::string markers = cSceneManager::MARKER_SCRIPT_PATH;
    std::string midi = DEFAULT_MIDI;
    PlotRequest request;
    bool plotOnly = false;  // an option that means something only for the picture
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool known = a == "--markers" || a == "--midi" || a == "--plot" || a == "--from" || a == "--to" ||
                           a == "--width" || a == "--music";
        if (!known)
            return refuse("unexpected argument '" + a + "'");
        if (i + 1 >= args.size() || args[i + 1].empty())
            return refuse(a + " needs a value");
        const std::string& v = args[++i];
        if (a == "--markers") {
            markers = v;
        } else if (a == "--midi") {
            midi = v;
        } else if (a == "--plot") {
            if (plot_format(v).empty())
                return refuse("--plot '" + v + "': the picture is a .png or an .svg file");
            request.path = v;
        } else if (a == "--width") {
            char* end = nullptr;
            const long w = std::strtol(v.c_str(), &end, 10);
            if (*end || w < MIN_PLOT_WIDTH || w > MAX_PLOT_WIDTH)
                return refuse("--width '" + v + "': give " + std::to_string(MIN_PLOT_WIDTH) + " to " +
                              std::to_string(MAX_PLOT_WIDTH) + " pixels");
            request.width = int(w);
            plotOnly = true;
        } else {
            (a == "--from" ? request.range.from : a == "--to" ? request.range.to : request.music) = v;
            plotOnly = true;
        }
    }
    if (plotOnly && request.path.empty())
        return refuse("--from, --to, --width and --music draw a picture: give --plot FILE.png or FILE.svg");

    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::loadFile(markers));
    if (!queue) {
        std::cerr << "## ERROR: no marker script, the show cannot start without " << markers << std::endl;
        return 1;
    }
    cMidiReader::read_file(midi, *queue, 0.0f);
    queue->rewind();
    if (!request.path.empty())
        return plot(*queue, request, markers, midi);

    const auto& names = queue->midi_track_names();
    for (size_t i = 0; i < names.size(); ++i)
        std::cout << "# midi track " << i << ": " << one_line(names[i]) << "\n";
    if (!queue->midi_controllers().empty()) {
        std::cout << "# midi controllers:";
        for (int c : queue->midi_controllers())
            std::cout << ' ' << c;
        std::cout << "\n";
    }

    std::cout << "# time_ms\tid\tname\ttrack\tkind\tdata1\tdata2\n";
    for (const cEvent* e : queue->events()) {
        std::cout << e->time << '\t' << e->id << '\t' << demo_event_name(e->id) << '\t';
        if (const iMidiEvent* m = dynamic_cast<const iMidiEvent*>(e))
            std::cout << m->track << '\t' << m->kind << '\t' << m->data1 << '\t' << m->data2 << '\n';
        else
            std::cout << "-\t-\t-\t-\n";
    }
    std::cout.flush();
    return 0;
}
