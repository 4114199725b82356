#include "demo/cLiveReload.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <iostream>
#include <sstream>
#include <vector>

#include "shader_runtime/shader_runtime.h"
#include "runtime/cSceneManager.h"
#include "texture/cTextureManager.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/show_position.h"
#include "util/file_bytes.h"

namespace {
const char* const SHADER_DIRS[] = {"../src/shaders", "../src/shaders/comp"};
const char* const TEXTURE_DIR = "../data/textures";

std::string real_path(const std::string& path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

std::string script_dir()
{
    const std::string path = cSceneManager::MARKER_SCRIPT_PATH;
    return path.substr(0, path.rfind('/'));
}

std::vector<std::string> subdirectories(const std::string& dir)
{
    std::vector<std::string> out;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_type == DT_DIR && e->d_name[0] != '.')
                out.push_back(dir + "/" + e->d_name);
        closedir(d);
    }
    return out;
}
}  // namespace

bool cLiveReload::start(std::ostream& log)
{
    std::vector<std::string> dirs(std::begin(SHADER_DIRS), std::end(SHADER_DIRS));
    dirs.push_back(script_dir());
    dirs.push_back(TEXTURE_DIR);
    for (const std::string& sub : subdirectories(TEXTURE_DIR))
        dirs.push_back(sub);
    int watched = 0;
    for (const std::string& dir : dirs) {
        std::string error;
        if (m_watch.add_directory(dir, error))
            ++watched;
        else
            log << "# warning, --watch: " << error << std::endl;
    }
    if (watched == 0)
        return false;
    log << "# watching " << watched << " directories: shaders, the marker script and textures reload when saved"
        << std::endl;
    return true;
}

bool cLiveReload::poll(cSceneManager& sm, std::ostream& log)
{
    bool script = false;
    const std::string markers = real_path(cSceneManager::MARKER_SCRIPT_PATH);
    for (const std::string& path : m_watch.changes()) {
        if (real_path(path) == markers) {
            script = reload_marker_script(sm, path, sm.demo_time(), log) || script;
            continue;
        }
        if (reload_shader(path, log) != 0)
            continue;
        if (texture_manager_exists()) {
            std::string error;
            const int r = get_texture_manager()->reload(path, error);
            if (r > 0)
                log << "# reloaded texture " << path << std::endl;
            else if (r < 0)
                log << "## ERROR: " << error << "; the old picture stays" << std::endl;
        }
    }
    return script;
}

int cLiveReload::reload_shader(const std::string& path, std::ostream& log)
{
    std::string listing;
    const int r = shrt::recompile_file(path, listing);
    if (r > 0)
        log << "# reloaded shader " << path << std::endl;
    else if (r < 0)
        log << "## ERROR: " << path << " does not compile; the previous program stays:\n" << listing << std::flush;
    return r > 0 ? 1 : r;
}

bool cLiveReload::reload_marker_script(cSceneManager& sm, const std::string& path, int demoTime, std::ostream& log)
{
    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        log << "## ERROR: cannot read the marker script " << path << "; the previous timeline stays" << std::endl;
        return false;
    }
    // At start-up a doubtful line is skipped with a warning; here it refuses
    // the whole edit, so that a typo does not silently drop a marker.
    std::ostringstream problems;
    cEventQueue* fresh = cEventQueue_factory::parse(bytes.data(), bytes.size(), problems, path);
    if (problems.str().empty() && script_marker_time(*fresh, "s00") < 0)
        problems << "there is no start marker (s00)\n";
    if (!problems.str().empty()) {
        delete fresh;
        log << "## ERROR: the marker script " << path << " has errors; the previous timeline stays:\n"
            << problems.str() << std::flush;
        return false;
    }
    if (cEventQueue* old = sm.event_queue())
        fresh->take_midi_from(*old);
    fresh->seek(demoTime - 1);
    sm.set_event_queue(fresh);
    log << "# reloaded marker script " << path << std::endl;
    return true;
}
