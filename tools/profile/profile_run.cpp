#include "profile/profile_run.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>

#include "offline/capture_options.h"
#include "offline/frame_timing.h"
#include "offline/progress.h"
#include "offline/range_run_up.h"
#include "offline/show_stepper.h"
#include "offline/stop_request.h"
#include "post/shader_warm_up.h"
#include "profile/profile_plot.h"
#include "profile/profile_report.h"
#include "profile/profile_timer.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneComposition.h"
#include "texture/cTextureManager.h"

namespace {
// The plain copies are timed before every other frame, as the load of the
// machine comes and goes (on a shared machine the same copy can take twice
// as long for seconds), and each frame's floor takes the median of the
// latest three timings: the floor follows the load within four frames, and
// no single slow timing moves it.
constexpr int COPY_REPEATS = 3;
constexpr int COPY_EVERY = 2;
constexpr size_t COPY_WINDOW = 3;

int fail(const std::string& message, int code)
{
    std::cerr << "wendit profile: " << message << std::endl;
    return code;
}

bool parse_profile_args(const std::vector<std::string>& args, CaptureOptions& o, std::string& error)
{
    bool outputGiven = false;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& a = args[i];
        if (a != "-o" && a != "--from" && a != "--to" && a != "--fps") {
            error = "unexpected argument '" + a + "'";
            return false;
        }
        outputGiven = outputGiven || a == "-o";
    }
    if (!parse_capture_args(args, false, o, error))
        return false;
    if (!outputGiven)
        o.output = "profile";
    return true;
}

std::vector<std::string> active_layer_names(int t)
{
    std::vector<std::string> names;
    auto* comp = dynamic_cast<cSceneComposition*>(cSceneManager::get()->current());
    if (!comp)
        return names;
    for (int n : comp->active_layers(t))
        names.push_back(comp->layers[n].scene->getName());
    return names;
}

ProfileMemory measure_memory()
{
    ProfileMemory m;
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    m.peakResidentKb = u.ru_maxrss;
    cRenderTargetManager* pool = get_rendertarget_manager();
    std::set<GLuint> depths;
    for (const auto& entry : pool->pool()) {
        const cRenderTarget_fbo* t = entry.second;
        const double bytes = double(t->width) * t->height * 4;
        m.targetMb += bytes / (1024.0 * 1024.0);
        if (t->depth_rb && depths.insert(t->depth_rb).second)  // depth buffers are shared per size
            m.targetMb += bytes / (1024.0 * 1024.0);
        m.targets += 1;
    }
    for (const auto& entry : get_texture_manager()->loaded()) {
        const cTexture& t = entry.second;
        if (t.width == uint32_t(-1) || t.height == uint32_t(-1))
            continue;
        m.textureMb += double(t.width) * t.height * 4 / (1024.0 * 1024.0);
        m.textures += 1;
    }
    m.targetsCreatedInShow = pool->created_at_runtime();
    return m;
}
}  // namespace

int run_profile(const std::vector<std::string>& args)
{
    CaptureOptions o;
    std::string error;
    if (!parse_profile_args(args, o, error))
        return fail(error, 2);
    int startMs = 0;
    if (!resolve_show_range(o, startMs, error))
        return fail(error, 2);
    struct stat st;
    if (stat(o.output.c_str(), &st) == 0 ? !S_ISDIR(st.st_mode) : mkdir(o.output.c_str(), 0777) != 0)
        return fail("the output directory '" + o.output + "' cannot be used", 2);
    install_stop_handlers();

    std::vector<FrameFigure> frames;
    CopyCosts copies;
    ProfileMemory memory;
    bool queries = false;
    {
        cQuietStdout quiet;
        cShowStepper show;
        if (!show.open(o.width, o.height, o.fps, error))
            return fail(error, 1);
        run_up_to_range(show, startMs, o.fromMs, o.fps);

        cProfileTimer timer;
        queries = timer.has_timer_queries();
        // The shaders drawn once more with the counters on, their figures
        // dropped: the renderer generates other code for a counted draw, and
        // that first-use cost is the profiler's, not the show's.
        set_pass_listener(&timer);
        timer.begin_frame(0, {});
        warm_up_shaders();
        timer.end_frame();
        // The same for the frames the show draws while it loads.
        if (auto* comp = dynamic_cast<cSceneComposition*>(cSceneManager::get()->current())) {
            timer.begin_frame(0, {});
            comp->warm_up_layers();
            timer.end_frame();
        }
        set_pass_listener(nullptr);
        const int64_t total = frame_count(o.fromMs, o.toMs, o.fps);
        cProgress progress(total, isatty(2) != 0);
        std::deque<CopyCosts> recent;
        for (int64_t n = 0; n < total && !stop_requested(); ++n) {
            if (n % COPY_EVERY == 0) {
                recent.push_back(timer.measure_copies(COPY_REPEATS));
                if (recent.size() > COPY_WINDOW)
                    recent.pop_front();
                copies = median_copy_costs({recent.begin(), recent.end()});
            }
            const int t = int(frame_time_ms(o.fromMs, n, o.fps));
            show.step_to(t);
            set_pass_listener(&timer);
            timer.begin_frame(t, active_layer_names(t));
            show.draw();
            FrameFigure f = timer.end_frame();
            set_pass_listener(nullptr);
            show.present();
            f.floorMs = frame_floor(copies, f.passes);
            f.pictureFloorMs = picture_floor(copies, long(o.width) * long(o.height), f.layers.size());
            frames.push_back(std::move(f));
            progress.update(n + 1);
        }
        progress.finish();
        memory = measure_memory();
    }
    if (stop_requested())
        return fail("interrupted; nothing written", 130);

    const std::vector<SectionFigure> sections = group_sections(frames);
    std::ostringstream table;
    write_profile_table(table, sections, whole_run(frames), copies, memory, queries);
    const std::string dir = o.output + "/";
    std::ofstream(dir + "profile.txt") << table.str();
    std::ofstream csv(dir + "frames.csv");
    write_profile_csv(csv, frames);
    csv.close();
    if (!csv)
        return fail("cannot write " + dir + "frames.csv", 1);
    if (!write_profile_plot(dir + "frame_times.png", frames, sections, error))
        return fail(error, 1);
    std::cout << table.str() << "wrote " << dir << "profile.txt, " << dir << "frames.csv and " << dir
              << "frame_times.png\n";
    return 0;
}
