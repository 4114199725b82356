// The soak benchmark: what a long run leaves behind, pass after pass.
//
//   cd bin && ../scripts/with_display.sh ../build/bench/soak show [PASSES] [FRAME_MS] [WxH]
//   cd bin && ../build/bench/soak capture [FRAMES] [WxH] [FPS]   (no display needed)
//   cd bin && ../build/bench/soak encoder [FRAMES] [WxH]
//
// show (default 20 passes, 400 ms frames, the show's 1280x720 window):
// plays the whole show under --loop s00 quit on the frame-stepped clock in
// a window, as the program does; over each pass it takes the lowest
// resident memory and heap in use of its frames, and at every wrap the GL
// objects alive (textures, buffers, framebuffers, renderbuffers, programs,
// shaders: every name GL still knows), the open file descriptors, and the
// music's position
// against the clock just after both went back to the loop's start. It
// prints one line per pass and the growth per pass from the third pass on,
// against the target: at most 1 MB over 50 passes (resident memory over
// the later half of the passes, once the allocator has settled, and heap in
// use over all of them), no GL object and no descriptor more, the music within one
// audio buffer at every wrap. Where resident memory grew, it names the
// mappings that hold the growth.
//
// capture (default 5000 frames at 160x90, at the lowest even frame rate
// from 30 fps up that fits them into the show): runs the capture over
// them, as `wendit capture` does, and again with half the frames at half
// the rate over the same stretch of show, each in a process of its own,
// sampling resident memory, heap in use and descriptors from the first
// encoded frames on (the video file growing). It prints the floors at each
// tenth of each run, and what twice the frames hold more at the end: what
// a frame costs, apart from what the show itself takes as it reaches new
// scenes.
//
// encoder (default 5000 frames at 160x90): the capture's frame sink and
// video writer alone, fed synthetic frames: what the encoding half keeps
// per frame (the MP4 muxer's index of every sample, until the file ends).
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>
#include <dirent.h>
#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/command_line.h"
#include "app/engine_start.h"
#include "capture/capture_run.h"
#include "demo/cMorvane.h"
#include "demo/demo_input.h"
#include "encode/frame_sink.h"
#include "encode/video_writer.h"
#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/cInputState.h"
#include "sound_player/stream_player.h"
#include "runtime/cSceneManager.h"
#include "runtime/timeline_trace.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/show_position.h"

namespace {
// ------------------------------------------------------------ process figures
double resident_mb(pid_t pid)
{
    std::ifstream in("/proc/" + (pid ? std::to_string(pid) : std::string("self")) + "/statm");
    long size = 0, resident = 0;
    in >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

int open_descriptors(pid_t pid)
{
    const std::string dir = "/proc/" + (pid ? std::to_string(pid) : std::string("self")) + "/fd";
    DIR* d = opendir(dir.c_str());
    if (!d)
        return -1;
    int n = 0;
    while (dirent* e = readdir(d))
        n += e->d_name[0] != '.';
    closedir(d);
    return pid ? n : n - 1;  // not the one reading the directory
}

// The bytes malloc has handed out and not had back: what RSS holds without
// the allocator's free pages, so a slower, steadier figure.
double heap_mb()
{
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// Resident kB of each mapping of this process, by its first address and
// what it maps ("[heap]", a library, "anonymous"): where growth lives when
// the heap in use holds still (pages of a mapping touched for the first
// time, a driver's own pools).
struct Mapping {
    std::string name;
    long rssKb = 0;
};
using MappingTable = std::map<unsigned long, Mapping>;

MappingTable resident_mappings()
{
    MappingTable table;
    std::ifstream in("/proc/self/smaps");
    std::string line;
    Mapping* current = nullptr;
    while (std::getline(in, line)) {
        unsigned long begin = 0, end = 0;
        char perms[8] = {0};
        int nameAt = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx %7s %*s %*s %*s %n", &begin, &end, perms, &nameAt) >= 3 &&
            line.find(':') > line.find(' ')) {
            current = &table[begin];
            current->name = nameAt > 0 && size_t(nameAt) < line.size() ? line.substr(size_t(nameAt)) : "anonymous";
            continue;
        }
        long kb = 0;
        if (current && std::sscanf(line.c_str(), "Rss: %ld kB", &kb) == 1)
            current->rssKb = kb;
    }
    return table;
}

// The mappings whose resident size changed most from `a` to `b`, largest
// first, each "+N kB name" (new mappings count from 0, gone ones to 0).
std::vector<std::string> grown_mappings(const MappingTable& a, const MappingTable& b, size_t most)
{
    std::map<unsigned long, std::pair<long, std::string>> change;
    for (const auto& [at, m] : b)
        change[at] = {m.rssKb, m.name};
    for (const auto& [at, m] : a) {
        auto& c = change[at];
        c.first -= m.rssKb;
        if (c.second.empty())
            c.second = m.name;
    }
    std::vector<std::pair<long, std::string>> rows;
    for (const auto& [at, c] : change)
        if (c.first != 0) {
            char where[32];
            std::snprintf(where, sizeof where, " at %lx", at);
            rows.push_back({c.first, c.second + where});
        }
    std::sort(rows.begin(), rows.end(), [](const auto& x, const auto& y) { return std::labs(x.first) > std::labs(y.first); });
    std::vector<std::string> out;
    for (size_t i = 0; i < rows.size() && i < most; ++i)
        out.push_back((rows[i].first > 0 ? "+" : "") + std::to_string(rows[i].first) + " kB " + rows[i].second);
    return out;
}

// Least-squares slope of y over its index.
double slope(const std::vector<double>& y)
{
    const size_t n = y.size();
    if (n < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < n; ++i) {
        sx += double(i);
        sy += y[i];
        sxx += double(i) * double(i);
        sxy += double(i) * y[i];
    }
    return (double(n) * sxy - sx * sy) / (double(n) * sxx - sx * sx);
}

// ------------------------------------------------------------ GL objects
// Every kind of object the engine makes, counted by asking GL which names
// it still knows: what was created and not deleted, whoever made it.
struct GlCounts {
    int textures = 0, buffers = 0, framebuffers = 0, renderbuffers = 0, programs = 0, shaders = 0;
    int total() const { return textures + buffers + framebuffers + renderbuffers + programs + shaders; }
};

typedef GLboolean(APIENTRY* IsProc)(GLuint);

struct GlNames {
    IsProc isBuffer = nullptr, isProgram = nullptr, isShader = nullptr;
    GLuint limit = 1 << 16;  // grows when names come near it

    GlNames()
    {
        isBuffer = reinterpret_cast<IsProc>(SDL_GL_GetProcAddress("glIsBuffer"));
        isProgram = reinterpret_cast<IsProc>(SDL_GL_GetProcAddress("glIsProgram"));
        isShader = reinterpret_cast<IsProc>(SDL_GL_GetProcAddress("glIsShader"));
    }

    GlCounts count()
    {
        GlCounts c;
        GLuint highest = 0;
        for (GLuint id = 1; id < limit; ++id) {
            const bool t = glIsTexture(id), b = isBuffer && isBuffer(id), f = ext::glIsFramebufferEXT(id),
                       r = ext::glIsRenderbufferEXT(id), p = isProgram && isProgram(id), s = isShader && isShader(id);
            c.textures += t;
            c.buffers += b;
            c.framebuffers += f;
            c.renderbuffers += r;
            c.programs += p;
            c.shaders += s;
            if (t || b || f || r || p || s)
                highest = id;
        }
        if (highest + 1024 > limit)
            limit *= 2;
        return c;
    }
};

// ------------------------------------------------------------ the show
struct Pass {
    double rssMb, heapMb;
    GlCounts gl;
    int fds;
    int offsetMs;  // music position minus demo time, just after the wrap
};

// One pass of the main loop as cDemo::frame runs it (no panel), with the
// clock-to-music offset taken right where the loop wraps.
bool frame(cDemo& demo, cSceneManager* sm, int& offsetMs)
{
    pump_events(input_state(), demo);
    process_keys(input_state(), demo);
    sm->advance_clock();
    const bool wrapped = demo.wrap_loop();
    if (wrapped)
        offsetMs = music_ms(*sm) - sm->demo_time();
    bool rebuild = sm->dispatch_events();
    if (!rebuild && sm->current())
        rebuild = sm->current()->update();
    if (sm->gui_toggle_changed())
        rebuild = true;
    if (rebuild) {
        demo.varList.clear();
        if (cScene* scene = sm->current()) {
            scene->fillGui(demo.varList);
            demo.sceneLabel.setText(scene->getName());
        }
    }
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sm->draw_current();
    swap_buffers();
    return wrapped;
}

int soak_show(int passes, const std::string& frameMs, int width, int height)
{
    setenv("WENDIT_FRAME_MS", frameMs.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // a sound card when one is named
    const char* argv[] = {"morvane", "--loop", "s00", "quit"};
    ShowOptions options;
    ShowPlacement placement;
    std::string error;
    std::ostringstream quiet;
    std::unique_ptr<cEventQueue> script(cEventQueue_factory::loadFile(cSceneManager::MARKER_SCRIPT_PATH, quiet));
    if (!script || !parse_show_options(4, argv, options, error) || !place_show_options(*script, options, placement, error)) {
        std::fprintf(stderr, "soak: %s\n", script ? error.c_str() : "no marker script (run from bin/)");
        return 2;
    }
    const double passSeconds = (placement.loopEnd - placement.loopStart) / 1000.0;

    // A smaller window than the show's keeps a pass short on a software
    // renderer; every buffer the show sizes by the window follows it.
    EngineStart start;
    start.width = width;
    start.height = height;
    start_engine(start, error);
    cMorvane demo;
    demo.run(false);
    demo.tune(placement, false);
    demo.sceneLabel.load_font();
    cSceneManager* sm = cSceneManager::get();
    sm->start();
    request_swap_interval(0);

    const int rate = sp_output_rate() > 0 ? sp_output_rate() : 44100;
    const int bufferFrames = sp_device_buffer_frames();
    const double bufferMs = bufferFrames > 0 ? 1000.0 * bufferFrames / rate : cSoundModule_fmod::MIXER_BUFFER_MS;
    std::printf("# soak: %d passes of %.1f s of show (s00 to quit) at %s ms a frame in a %dx%d window; audio "
                "buffer %.1f ms\n",
                passes, passSeconds, frameMs.c_str(), width, height, bufferMs);
    std::printf("%5s %9s %8s %9s %6s %6s %5s %5s %5s %5s %5s %9s %7s\n", "pass", "low rss", "+MB", "low heap", "tex",
                "buf", "fbo", "rbo", "prog", "shd", "fds", "offset ms", "wall s");
    std::fflush(stdout);

    GlNames names;
    std::vector<Pass> done;
    // Where resident memory lives, kept for the report: at the end of
    // warm-up, at the previous pass and on both sides of the largest step.
    // Four tables only, so that keeping them does not itself grow the heap.
    constexpr size_t WARM = 1;
    MappingTable warmTable, previous, stepBefore, stepAfter;
    double biggestStep = 0;
    size_t stepAt = 0;
    auto wall = std::chrono::steady_clock::now();
    int offset = 0;
    // Memory is taken at every frame and the lowest of each pass kept: what
    // a single sample holds besides depends on the moment (a scene's
    // passing buffers, the allocator's free pages), and what a leak raises
    // is the floor under them.
    double lowRss = 1e9, lowHeap = 1e9;
    while (int(done.size()) < passes) {
        const bool wrapped = frame(demo, sm, offset);
        lowRss = std::min(lowRss, resident_mb(0));
        lowHeap = std::min(lowHeap, heap_mb());
        if (!wrapped)
            continue;
        Pass p{lowRss, lowHeap, names.count(), open_descriptors(0), offset};
        lowRss = lowHeap = 1e9;
        const auto now = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(now - wall).count();
        wall = now;
        done.push_back(p);
        MappingTable table = resident_mappings();
        const size_t at = done.size() - 1;
        if (at <= WARM)
            warmTable = stepBefore = stepAfter = table;  // all four held from warm-up on
        else if (std::fabs(p.rssMb - done[at - 1].rssMb) > biggestStep) {
            biggestStep = std::fabs(p.rssMb - done[at - 1].rssMb);
            stepAt = at;
            stepBefore = previous;
            stepAfter = table;
        }
        previous = std::move(table);
        const double grown = done.size() > 1 ? p.rssMb - done[done.size() - 2].rssMb : 0.0;
        std::printf("%5zu %9.2f %+8.2f %9.3f %6d %6d %5d %5d %5d %5d %5d %9d %7.1f\n", done.size(), p.rssMb, grown,
                    p.heapMb, p.gl.textures,
                    p.gl.buffers, p.gl.framebuffers, p.gl.renderbuffers, p.gl.programs, p.gl.shaders, p.fds,
                    p.offsetMs, seconds);
        std::fflush(stdout);
    }

    // From the end of the second pass on: warm-up is over.
    const size_t warm = std::min<size_t>(WARM, done.size() - 1);
    std::vector<double> rss, heap;
    int worstOffset = 0;
    for (size_t i = warm; i < done.size(); ++i) {
        rss.push_back(done[i].rssMb);
        heap.push_back(done[i].heapMb);
    }
    for (const Pass& p : done)
        worstOffset = std::max(worstOffset, std::abs(p.offsetMs));
    const double noise = biggestStep;
    const Pass& a = done[warm];
    const Pass& b = done.back();
    const double perPass = slope(rss);
    // The heap in use must hold too: the resident figure alone can hide a
    // slow leak behind the allocator's free pages.
    const double heapPerPass = slope(heap);
    // The allocator settles over the first passes after warm-up: pages of
    // its heap are touched for the first time while the bytes in use hold
    // still, and resident memory steps up a few times, then stays. A leak
    // goes on; so the verdict takes resident memory over the later half of
    // the passes, and the heap in use over all of them.
    const size_t half = rss.size() / 2;
    const std::vector<double> later(rss.begin() + std::ptrdiff_t(half), rss.end());
    const double laterPerPass = slope(later);
    const bool enough = later.size() >= 3;  // a slope over at least three passes
    const bool flat = enough && laterPerPass * 50 <= 1.0 && heapPerPass * 50 <= 1.0 && b.gl.total() <= a.gl.total() &&
                      b.fds <= a.fds && worstOffset <= bufferMs;
    std::printf("# after pass %zu to pass %zu: resident memory %+.3f MB per pass (%+.2f MB in all; largest "
                "step between passes %.2f MB), %+.1f MB over 50 passes at that rate\n",
                warm + 1, done.size(), perPass, b.rssMb - a.rssMb, noise, perPass * 50);
    std::printf("# after pass %zu to pass %zu (the later half): resident memory %+.3f MB per pass, %+.1f MB over 50 "
                "passes (target <= 1)\n",
                warm + half + 1, done.size(), laterPerPass, laterPerPass * 50);
    std::printf("# heap in use %.3f -> %.3f MB: %+.4f MB per pass, %+.2f MB over 50 passes (target <= 1)\n", a.heapMb,
                b.heapMb, heapPerPass, heapPerPass * 50);
    const auto where = [&](const char* what, size_t from, size_t to, const MappingTable& x, const MappingTable& y) {
        const std::vector<std::string> rows = grown_mappings(x, y, 4);
        std::printf("# resident memory by mapping, %s (pass %zu to %zu):%s\n", what, from + 1, to + 1,
                    rows.empty() ? " no change" : "");
        for (const std::string& r : rows)
            std::printf("#   %s\n", r.c_str());
    };
    if (stepAt > warm)
        where("the largest step", stepAt - 1, stepAt, stepBefore, stepAfter);
    where("after warm-up", warm, done.size() - 1, warmTable, previous);
    std::printf("# GL objects %d -> %d (textures %+d, buffers %+d, framebuffers %+d, renderbuffers %+d, programs "
                "%+d, shaders %+d); descriptors %d -> %d\n",
                a.gl.total(), b.gl.total(), b.gl.textures - a.gl.textures, b.gl.buffers - a.gl.buffers,
                b.gl.framebuffers - a.gl.framebuffers, b.gl.renderbuffers - a.gl.renderbuffers,
                b.gl.programs - a.gl.programs, b.gl.shaders - a.gl.shaders, a.fds, b.fds);
    std::printf("# music against the clock at the wraps: worst %d ms, one audio buffer is %.1f ms\n", worstOffset,
                bufferMs);
    std::printf("# %s\n", flat     ? "flat: no growth per pass after warm-up"
                          : enough ? "GROWS: see the figures above"
                                   : "too few passes to judge: give 8 or more");
    std::fflush(stdout);
    std::exit(flat ? 0 : 1);
}

// ------------------------------------------------------------ the capture
// From this size on the video file holds encoded frames, not only its header.
const long STREAMING_BYTES = 128 * 1024;
// What the encoder alone keeps per 1000 frames until the file ends (its
// MP4 index; see `soak encoder`), with room for the sampling's noise.
const double MP4_INDEX_MB_PER_1000 = 0.2;

long file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? long(in.tellg()) : 0;
}

// What one capture leaves at its end: the floors of its last tenth.
struct CaptureFloor {
    bool ok = false;
    double heapMb = 0, rssMb = 0;
    int fdsFirst = 0, fdsLast = 0;
};

// One capture of `frames` frames over from..to s, sampled while it runs;
// prints its tenths.
CaptureFloor capture_once(long frames, int fps, const char* from, const char* to, const std::string& size)
{
    char dir[] = "/tmp/wendit-soak-XXXXXX";
    if (!mkdtemp(dir))
        return {};
    const std::string out = std::string(dir) + "/soak.mp4";
    std::printf("# capture of %ld frames at %d fps:\n", frames, fps);
    std::fflush(stdout);

    // The capture runs here, as `wendit capture` runs it; a thread samples
    // it. The temporary file grows once encoded frames come out: from then
    // on the frames stream through the encoder.
    struct Sample {
        double seconds, rssMb, heapMb;
        int fds;
        long partBytes;
    };
    std::vector<Sample> samples;
    std::atomic<bool> running{true};
    std::thread sampler([&] {
        const auto begin = std::chrono::steady_clock::now();
        while (running) {
            const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            const long part = file_bytes(out + ".part");
            if (part >= STREAMING_BYTES)
                samples.push_back({t, resident_mb(0), heap_mb(), open_descriptors(0), part});
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    const int code = run_capture({"--size", size, "--fps", std::to_string(fps), "--from", from, "--to", to, "-o", out});
    running = false;
    sampler.join();
    std::system(("rm -rf '" + std::string(dir) + "'").c_str());
    if (code != 0 || samples.size() < 20) {
        std::fprintf(stderr, "soak: the capture failed or was too short to sample (exit %d, %zu samples)\n", code,
                     samples.size());
        return {};
    }
    // Frames in flight (read-back buffers, the encoder's pictures and
    // packets, the renderer's per-frame work) make any one sample swing by
    // megabytes; what a leak raises is the floor under them. So: the
    // lowest figures of each tenth of the streaming.
    struct Tenth {
        double seconds, rssMb, heapMb, videoMb;
        int fds;
    };
    std::vector<Tenth> tenths;
    for (int k = 0; k < 10; ++k) {
        const size_t i0 = samples.size() * size_t(k) / 10, i1 = samples.size() * size_t(k + 1) / 10;
        Tenth t{samples[i1 - 1].seconds, 1e9, 1e9, samples[i1 - 1].partBytes / 1048576.0, 0};
        for (size_t i = i0; i < i1; ++i) {
            t.rssMb = std::min(t.rssMb, samples[i].rssMb);
            t.heapMb = std::min(t.heapMb, samples[i].heapMb);
            t.fds = std::max(t.fds, samples[i].fds);
        }
        tenths.push_back(t);
    }
    std::printf("%8s %13s %14s %9s %5s\n", "wall s", "lowest rss MB", "lowest heap MB", "video MB", "fds");
    for (const Tenth& t : tenths)
        std::printf("%8.1f %13.2f %14.3f %9.2f %5d\n", t.seconds, t.rssMb, t.heapMb, t.videoMb, t.fds);
    // The first tenth of the streaming fills the encoder's pipeline.
    const Tenth& a = tenths[1];
    const Tenth& b = tenths.back();
    std::vector<double> heap, rss;
    for (size_t k = 1; k < tenths.size(); ++k) {
        heap.push_back(tenths[k].heapMb);
        rss.push_back(tenths[k].rssMb);
    }
    const double framesPerTenth = double(frames) / 10.0;
    std::printf("# while the frames streamed through the encoder (second tenth to last): lowest heap in use %.3f -> "
                "%.3f MB (%+.3f, %+.3f MB per 1000 frames); lowest resident memory %.2f -> %.2f MB (%+.2f, %+.3f MB "
                "per 1000 frames); descriptors %d -> %d\n",
                a.heapMb, b.heapMb, b.heapMb - a.heapMb, slope(heap) / framesPerTenth * 1000.0, a.rssMb, b.rssMb,
                b.rssMb - a.rssMb, slope(rss) / framesPerTenth * 1000.0, a.fds, b.fds);
    std::fflush(stdout);
    return {true, b.heapMb, b.rssMb, a.fds, b.fds};
}

// The same in a process of its own (the show's set-up is once a process).
CaptureFloor capture_in_child(long frames, int fps, const char* from, const char* to, const std::string& size)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const CaptureFloor f = capture_once(frames, fps, from, to, size);
        const bool sent = write(fds[1], &f, sizeof f) == ssize_t(sizeof f);
        std::fflush(stdout);
        _exit(sent && f.ok ? 0 : 1);
    }
    close(fds[1]);
    CaptureFloor f;
    if (read(fds[0], &f, sizeof f) != ssize_t(sizeof f))
        f.ok = false;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return f;
}

// Memory that rises while a capture runs is either the show's (a scene met
// for the first time, the renderer's caches: bound by what is shown) or
// the frames' (kept per frame: a leak, or the MP4 index). Two captures of
// the same stretch of show, one with twice the frames of the other, tell
// them apart: what the second holds more at its end is what frames cost.
int soak_capture(long frames, const std::string& size, int fps)
{
    std::ostringstream quiet;
    std::unique_ptr<cEventQueue> script(cEventQueue_factory::loadFile(cSceneManager::MARKER_SCRIPT_PATH, quiet));
    const int start = script ? script_marker_time(*script, "s00") : -1;
    const int quit = script ? script_marker_time(*script, "quit") : -1;
    if (start < 0 || quit <= start) {
        std::fprintf(stderr, "soak: no marker script with s00 and quit (run from bin/)\n");
        return 2;
    }
    // As many frames as asked for within the show: without a frame rate
    // given, the lowest even one from 30 fps up at which they fit; the
    // shorter capture takes half the frames at half that rate.
    const long lengthMs = quit - start;
    if (fps <= 0)
        for (fps = 30; fps < 240 && frames * 1000 / fps > lengthMs;)
            fps += 2;
    if (fps % 2 != 0 || frames % 2 != 0) {
        std::fprintf(stderr, "soak: give an even number of frames and an even frame rate (%ld at %d fps)\n", frames,
                     fps);
        return 2;
    }
    const long toMs = start + (frames * 1000 + fps - 1) / fps;
    if (toMs > quit) {
        std::fprintf(stderr, "soak: %ld frames do not fit in the show at %d fps\n", frames, fps);
        return 2;
    }
    char from[32], to[32];
    std::snprintf(from, sizeof from, "%.3f", start / 1000.0);
    std::snprintf(to, sizeof to, "%.3f", toMs / 1000.0);
    std::printf("# soak capture: %s s to %s s at %s, %ld frames at %d fps against %ld at %d fps\n", from, to,
                size.c_str(), frames, fps, frames / 2, fps / 2);
    const CaptureFloor half = capture_in_child(frames / 2, fps / 2, from, to, size);
    const CaptureFloor full = capture_in_child(frames, fps, from, to, size);
    if (!half.ok || !full.ok) {
        std::fprintf(stderr, "soak: a capture failed\n");
        return 1;
    }
    const double perThousand = (full.heapMb - half.heapMb) / (double(frames - frames / 2) / 1000.0);
    const double rssPerThousand = (full.rssMb - half.rssMb) / (double(frames - frames / 2) / 1000.0);
    std::printf("# at the end, twice the frames leave %+.3f MB of heap in use against half (%+.3f MB per 1000 frames; target <= "
                "%.2f, the MP4 index of about 150 bytes a frame kept until the file ends) and %+.2f MB of "
                "resident memory (%+.3f MB per 1000 frames); descriptors %d -> %d and %d -> %d\n",
                full.heapMb - half.heapMb, perThousand, MP4_INDEX_MB_PER_1000, full.rssMb - half.rssMb,
                rssPerThousand, half.fdsFirst, half.fdsLast, full.fdsFirst, full.fdsLast);
    const bool flat = perThousand <= MP4_INDEX_MB_PER_1000 && half.fdsLast <= half.fdsFirst &&
                      full.fdsLast <= full.fdsFirst;
    std::printf("# %s\n", flat ? "flat while the frames stream through the encoder: what rises is the show's, "
                                 "not the frames'"
                               : "GROWS: see above");
    return flat ? 0 : 1;
}

// ------------------------------------------------------------ the encoder alone
// The capture's encoding half without the show: synthetic frames (moving
// bands, so that the encoder has work) and a second of silence-free sound
// per second of video, through the same frame sink and video writer, with
// the heap in use taken every 500 frames after the hand-over.
int soak_encoder(long frames, int width, int height)
{
    char dir[] = "/tmp/wendit-soak-XXXXXX";
    if (!mkdtemp(dir))
        return 2;
    const std::string out = std::string(dir) + "/encoder.mp4";
    const int fps = 30, rate = 44100;
    std::vector<int16_t> pcm(size_t(2) * rate * size_t(frames / fps + 2));
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = int16_t(8000 * std::sin(double(i / 2) * 0.05));
    VideoSpec format;
    format.width = width;
    format.height = height;
    format.fps = fps;
    format.pcm = pcm.data();
    format.pcmFrames = int64_t(pcm.size() / 2);
    format.rate = rate;
    cVideoWriter video;
    std::string error;
    if (!video.open(out, format, error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 1;
    }
    std::printf("# soak encoder: %ld synthetic frames at %dx%d, %d fps, with sound\n", frames, width, height, fps);
    std::printf("%7s %9s %9s %9s\n", "frames", "rss MB", "heap MB", "video MB");
    std::vector<double> heap;
    {
        cFrameSink sink(&video, "", width, height);
        for (long n = 0; n < frames; ++n) {
            std::vector<uint8_t> px = sink.buffer();
            px.resize(size_t(width) * size_t(height) * 4);
            for (int y = 0; y < height; ++y)
                std::memset(&px[size_t(y) * size_t(width) * 4], int((y + n) * 7 & 0xFF), size_t(width) * 4);
            if (!sink.push(n, std::move(px)))
                break;
            if ((n + 1) % 500 == 0) {
                heap.push_back(heap_mb());
                std::printf("%7ld %9.2f %9.3f %9.2f\n", n + 1, resident_mb(0), heap.back(),
                            file_bytes(out) / 1048576.0);
                std::fflush(stdout);
            }
        }
        if (!sink.finish(error)) {
            std::fprintf(stderr, "soak: %s\n", error.c_str());
            return 1;
        }
    }
    std::system(("rm -rf '" + std::string(dir) + "'").c_str());
    if (heap.size() < 3)
        return 1;
    // From the second sample on: the encoder's pipeline is full by then.
    std::vector<double> tail(heap.begin() + 1, heap.end());
    const double perThousand = slope(tail) * 2.0;
    std::printf("# frames 1000 to %ld: heap in use %.3f -> %.3f MB, %+.4f MB per 1000 frames (%.0f bytes a frame)\n",
                frames, tail.front(), tail.back(), perThousand, perThousand * 1048576.0 / 1000.0);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "show";
    if (mode == "show") {
        const int passes = argc > 2 ? std::atoi(argv[2]) : 20;
        const std::string frameMs = argc > 3 ? argv[3] : "400";
        int w = 1280, h = 720;
        if (argc > 4 && (std::sscanf(argv[4], "%dx%d", &w, &h) != 2 || w < 16 || h < 16)) {
            std::fprintf(stderr, "soak show: the window size is WIDTHxHEIGHT\n");
            return 2;
        }
        if (passes < 3) {
            std::fprintf(stderr, "soak show: give 3 passes or more\n");
            return 2;
        }
        return soak_show(passes, frameMs, w, h);
    }
    if (mode == "capture") {
        const long frames = argc > 2 ? std::atol(argv[2]) : 5000;
        return soak_capture(frames > 0 ? frames : 5000, argc > 3 ? argv[3] : "160x90", argc > 4 ? std::atoi(argv[4]) : 0);
    }
    if (mode == "encoder") {
        const long frames = argc > 2 ? std::atol(argv[2]) : 5000;
        int w = 160, h = 90;
        if (argc > 3)
            std::sscanf(argv[3], "%dx%d", &w, &h);
        return soak_encoder(frames > 1000 ? frames : 5000, w, h);
    }
    std::fprintf(stderr, "usage: soak show [PASSES] [FRAME_MS] [WxH] | soak capture [FRAMES] [WxH] [FPS] | "
                         "soak encoder [FRAMES] [WxH]\n");
    return 2;
}
