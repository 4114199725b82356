#pragma once
// Reloading while the show plays (--watch): shader sources, the marker
// script and the baked textures are watched, and a changed file is taken
// in at the start of the next frame, the show going on from the same time.
// A file that cannot be used leaves the show as it was and says why: a
// shader that no longer compiles keeps its previous program and prints the
// compiler's messages with file and line; a marker script with errors keeps
// the previous timeline; a broken image keeps the old picture.
#include <iosfwd>
#include <string>

#include "platform/file_watch.h"

class cSceneManager;

class cLiveReload {
public:
    // Watches the shader directories, the marker script's directory and the
    // texture directories (one level of subdirectories). False, with the
    // reason written to log, when nothing can be watched.
    bool start(std::ostream& log);
    // Takes in the files changed since the last poll; true when the marker
    // script was replaced.
    bool poll(cSceneManager& sm, std::ostream& log);

    // One file of each kind, also for tests. The marker script replaces the
    // manager's queue (MIDI events kept, cursor at demoTime: events before
    // it count as played); false when the script was refused.
    static bool reload_marker_script(cSceneManager& sm, const std::string& path, int demoTime, std::ostream& log);
    // 1 reloaded, 0 not a loaded shader source, -1 refused.
    static int reload_shader(const std::string& path, std::ostream& log);

private:
    cFileWatch m_watch;
};
