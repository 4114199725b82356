#pragma once
// Running bin/morvane end to end, as a person would, in a data tree of the
// test's choosing: a temporary directory with bin/ (the working directory)
// and data/ beside it. The show runs on the frame-stepped clock
// (WENDIT_FRAME_MS) so that its demo time does not depend on the machine.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class DataTree {
public:
    // Creates the tree with data/script/markers.txt holding `markers`, and
    // with the baked textures unless bake is false; src/ links to the
    // repository's sources (the shaders).
    explicit DataTree(const std::string& markers, bool bake = true);
    ~DataTree();
    DataTree(const DataTree&) = delete;
    DataTree& operator=(const DataTree&) = delete;

    std::string root;
    std::string bin() const { return root + "/bin"; }
    std::string data() const { return root + "/data"; }
    void write(const std::string& relative, const std::string& bytes) const;
    // Replaces the link to the repository's sources with a copy of the
    // shader sources, which a test may then edit.
    void copy_shaders() const;
    void remove(const std::string& relative) const;
};

struct ShowResult {
    int exitCode = -1000;  // as the shell sees it: 0..255; -1000 when it did not end
    bool signalled = false;
    std::string out, err;
    std::vector<std::string> out_lines() const;
};

class ShowProcess {
public:
    // Starts bin/morvane in tree.bin() with no terminal on standard input.
    ShowProcess(const DataTree& tree, double frameMs = 50.0, const std::vector<std::string>& args = {},
                const std::map<std::string, std::string>& env = {});
    ~ShowProcess();
    ShowProcess(const ShowProcess&) = delete;
    ShowProcess& operator=(const ShowProcess&) = delete;

    // Waits until standard error holds `text` (true) or the process ended or
    // the time ran out (false).
    bool wait_for_stderr(const std::string& text, int timeoutMs = 60000);
    // Waits for the end; kills the process after timeoutMs.
    ShowResult finish(int timeoutMs = 60000);
    std::string err_so_far() const;
    // Frames presented so far, counted by their trace lines: the show must
    // run with WENDIT_TIMELINE_TRACE=1.
    size_t frames_so_far() const;
    // Waits until `more` frames beyond those presented now have been
    // presented (true), or the process ended or the time ran out (false).
    // A wait for the show to take something in, whatever the machine's speed.
    bool wait_for_frames(size_t more, int timeoutMs = 60000);

    pid_t pid = -1;

private:
    std::string m_outPath, m_errPath;
    bool m_done = false;
    ShowResult m_result;
};

// Runs the show to its end.
ShowResult run_show(const DataTree& tree, double frameMs = 50.0, const std::vector<std::string>& args = {},
                    int timeoutMs = 60000);

// On X display `display` (give each such test a PrivateDisplay, so that
// shows of tests running side by side are not confused):
// sends a key press and release to the show's window ("Wendit OpenGL");
bool send_key_to_show(const std::string& display, unsigned long keysym);
// asks, as a window manager would, for the show's window to close;
bool close_show_window(const std::string& display);
// the mean colour (0..255 per channel) of the show's window as the X server
// holds it, read back with XGetImage; false when there is no such window;
bool mean_show_colour(const std::string& display, double rgb[3]);
// the same, the mean of one grab after each of `frames` frames the show
// draws (it runs with WENDIT_TIMELINE_TRACE=1, whose lines count them);
bool mean_show_colour(ShowProcess& show, const std::string& display, double rgb[3], int frames);
// true when a window with the show's title exists; its size goes to w, h.
bool show_window_exists(const std::string& display, int* w = nullptr, int* h = nullptr);

// Removes a temporary directory when this process ends, also when it ends
// through exit() (as death tests do).
void remove_at_exit(const std::string& dir);

// The directory with the program and tool binaries.
std::string bin_dir();
