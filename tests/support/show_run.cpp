#include "support/show_run.h"

// gtest first: the X11 headers define macros (None, Bool) that clash with it.
#include "support/gl_fixture.h"
#include "support/run_tool.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {
void mkdirs(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
}

int shell(const std::string& cmd)
{
    return std::system(cmd.c_str());
}

const char* const TITLE = "Wendit OpenGL";

// Windows of the show may come and go while the test walks them; such
// errors are expected and must not end the test process.
int ignore_x_errors(Display*, XErrorEvent*)
{
    return 0;
}

Display* open_display(const std::string& name)
{
    XSetErrorHandler(ignore_x_errors);
    return XOpenDisplay(name.c_str());
}

Window find_window(Display* dpy, Window w)
{
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
        bool match = std::strcmp(name, TITLE) == 0;
        XFree(name);
        if (match)
            return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n && !found; ++i)
            found = find_window(dpy, children[i]);
        if (children)
            XFree(children);
    }
    return found;
}

// The window and its children (SDL listens for keys on an inner window).
void with_windows(Display* dpy, Window w, void (*fn)(Display*, Window, void*), void* data)
{
    fn(dpy, w, data);
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n; ++i)
            with_windows(dpy, children[i], fn, data);
        if (children)
            XFree(children);
    }
}

struct KeyData {
    unsigned keycode;
    bool press;
};

void send_key(Display* dpy, Window w, void* data)
{
    auto* k = static_cast<KeyData*>(data);
    XKeyEvent e{};
    e.type = k->press ? KeyPress : KeyRelease;
    e.display = dpy;
    e.window = w;
    e.root = DefaultRootWindow(dpy);
    e.subwindow = None;
    // Each event its own time: SDL over SDL2 takes a release followed by a
    // press of the same key at the same time for the key held down (an
    // auto-repeat), and CurrentTime is the same for all.
    e.time = Time(std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
    e.same_screen = True;
    e.keycode = k->keycode;
    XSendEvent(dpy, w, True, k->press ? KeyPressMask : KeyReleaseMask, reinterpret_cast<XEvent*>(&e));
}
}  // namespace

namespace {
std::vector<std::string>* g_leftovers = nullptr;
pid_t g_leftoversOwner = 0;

void remove_leftovers()
{
    if (!g_leftovers || getpid() != g_leftoversOwner)
        return;
    for (const std::string& dir : *g_leftovers)
        if (dir.rfind("/tmp/wendit-", 0) == 0)
            shell("rm -rf '" + dir + "'");
}
}  // namespace

void remove_at_exit(const std::string& dir)
{
    if (!g_leftovers || g_leftoversOwner != getpid()) {
        g_leftovers = new std::vector<std::string>();
        g_leftoversOwner = getpid();
        std::atexit(remove_leftovers);
    }
    g_leftovers->push_back(dir);
}

std::string bin_dir()
{
    return WENDIT_BIN_DIR;
}

namespace {
bool fresh_repository_bake()
{
    struct stat stamp, tool;
    return ::stat(WENDIT_SOURCE_DIR "/data/.baked", &stamp) == 0 &&
           ::stat((bin_dir() + "/wendit").c_str(), &tool) == 0 && stamp.st_mtime >= tool.st_mtime;
}
}  // namespace

DataTree::DataTree(const std::string& markers, bool bake)
{
    char tmpl[] = "/tmp/wendit-tree-XXXXXX";
    if (!mkdtemp(tmpl))
        throw std::runtime_error("cannot create a temporary data tree");
    root = tmpl;
    mkdirs(bin());
    mkdirs(data() + "/script");
    // The repository's tree, when its last bake finished after the baker was
    // built (test.sh bakes before the tests), is what a bake here would make:
    // a copy takes milliseconds where a bake takes half a minute.
    const bool copied = bake && fresh_repository_bake();
    if (copied)
        shell("cp -r '" WENDIT_SOURCE_DIR "/data/.' '" + data() + "/'");
    write("data/script/markers.txt", markers);
    // The shader sources, found as "../src/shaders" from bin/ as in the repository.
    shell("ln -s '" + bin_dir() + "/../src' '" + root + "/src'");
    if (bake && !copied)
        shell("cd '" + bin() + "' && '" + bin_dir() + "/wendit' bake --data ../data >/dev/null 2>&1");
}

DataTree::~DataTree()
{
    if (!root.empty() && root.rfind("/tmp/wendit-tree-", 0) == 0)
        shell("rm -rf '" + root + "'");
}

void DataTree::write(const std::string& relative, const std::string& bytes) const
{
    const std::string path = root + "/" + relative;
    mkdirs(path.substr(0, path.rfind('/')));
    std::ofstream(path, std::ios::binary) << bytes;
}

void DataTree::copy_shaders() const
{
    // A copy in place of the link to the repository's sources.
    shell("rm -f '" + root + "/src'");
    mkdirs(root + "/src");
    shell("cp -r '" WENDIT_SOURCE_DIR "/src/shaders' '" + root + "/src/'");
}

void DataTree::remove(const std::string& relative) const
{
    ::unlink((root + "/" + relative).c_str());
}

std::vector<std::string> ShowResult::out_lines() const
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

ShowProcess::ShowProcess(const DataTree& tree, double frameMs, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env)
{
    ensure_display();
    m_outPath = tree.root + "/stdout.txt";
    m_errPath = tree.root + "/stderr.txt";
    const std::string program = bin_dir() + "/morvane";
    pid = fork();
    if (pid == 0) {
        if (chdir(tree.bin().c_str()) != 0)
            _exit(126);
        int in = open("/dev/null", O_RDONLY);
        int out = open(m_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(m_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (frameMs > 0)
            setenv("WENDIT_FRAME_MS", std::to_string(frameMs).c_str(), 1);
        else
            unsetenv("WENDIT_FRAME_MS");
        // Test machines have no sound card: the music plays into SDL's
        // silent driver unless a test asks for another.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Any GL error raised by a pass, a mesh or a scene is reported.
        setenv("WENDIT_GL_CHECK", "1", 1);
        for (const auto& kv : env)
            setenv(kv.first.c_str(), kv.second.c_str(), 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

ShowProcess::~ShowProcess()
{
    if (!m_done && pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::string ShowProcess::err_so_far() const
{
    return read_whole_file(m_errPath);
}

size_t ShowProcess::frames_so_far() const
{
    const std::string err = err_so_far();
    const std::string line = "# timeline-trace frame ";
    size_t n = 0;
    for (size_t at = err.find(line); at != std::string::npos; at = err.find(line, at + line.size()))
        ++n;
    return n;
}

bool ShowProcess::wait_for_frames(size_t more, int timeoutMs)
{
    const size_t want = frames_so_far() + more;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < until) {
        if (frames_so_far() >= want)
            return true;
        int status = 0;
        if (!m_done && waitpid(pid, &status, WNOHANG) == pid) {
            m_done = true;
            m_result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
            m_result.signalled = WIFSIGNALED(status);
            return frames_so_far() >= want;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool ShowProcess::wait_for_stderr(const std::string& text, int timeoutMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < until) {
        if (err_so_far().find(text) != std::string::npos)
            return true;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            m_done = true;
            m_result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
            m_result.signalled = WIFSIGNALED(status);
            return err_so_far().find(text) != std::string::npos;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

ShowResult ShowProcess::finish(int timeoutMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_done) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            m_done = true;
            m_result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
            m_result.signalled = WIFSIGNALED(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= until) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            m_done = true;
            m_result.exitCode = -1000;
            m_result.signalled = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_result.out = read_whole_file(m_outPath);
    m_result.err = read_whole_file(m_errPath);
    return m_result;
}

ShowResult run_show(const DataTree& tree, double frameMs, const std::vector<std::string>& args, int timeoutMs)
{
    ShowProcess p(tree, frameMs, args);
    return p.finish(timeoutMs);
}

bool show_window_exists(const std::string& display, int* w, int* h)
{
    Display* dpy = open_display(display);
    if (!dpy)
        return false;
    Window win = find_window(dpy, DefaultRootWindow(dpy));
    bool found = win != 0;
    XWindowAttributes a{};
    if (found && XGetWindowAttributes(dpy, win, &a)) {
        if (w)
            *w = a.width;
        if (h)
            *h = a.height;
    }
    XCloseDisplay(dpy);
    return found;
}

bool mean_show_colour(ShowProcess& show, const std::string& display, double rgb[3], int frames)
{
    double sum[3] = {0, 0, 0}, one[3];
    for (int g = 0; g < frames; ++g) {
        if (g > 0 && !show.wait_for_frames(1))
            return false;
        if (!mean_show_colour(display, one))
            return false;
        for (int i = 0; i < 3; ++i)
            sum[i] += one[i] / frames;
    }
    std::copy(sum, sum + 3, rgb);
    return true;
}

bool mean_show_colour(const std::string& display, double rgb[3])
{
    Display* dpy = open_display(display);
    if (!dpy)
        return false;
    Window w = find_window(dpy, DefaultRootWindow(dpy));
    XWindowAttributes a{};
    XImage* image = w && XGetWindowAttributes(dpy, w, &a)
                        ? XGetImage(dpy, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap)
                        : nullptr;
    if (image) {
        double sum[3] = {0, 0, 0};
        for (int y = 0; y < image->height; y += 4)
            for (int x = 0; x < image->width; x += 4) {
                const unsigned long p = XGetPixel(image, x, y);
                sum[0] += double((p & image->red_mask) >> 16);
                sum[1] += double((p & image->green_mask) >> 8);
                sum[2] += double(p & image->blue_mask);
            }
        const double n = double(((image->height + 3) / 4) * ((image->width + 3) / 4));
        for (int i = 0; i < 3; ++i)
            rgb[i] = sum[i] / n;
        XDestroyImage(image);
    }
    XCloseDisplay(dpy);
    return image != nullptr;
}

bool send_key_to_show(const std::string& display, unsigned long keysym)
{
    Display* dpy = open_display(display);
    if (!dpy)
        return false;
    Window w = find_window(dpy, DefaultRootWindow(dpy));
    if (w) {
        KeyData k{XKeysymToKeycode(dpy, keysym), true};
        with_windows(dpy, w, send_key, &k);
        XSync(dpy, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        k.press = false;
        with_windows(dpy, w, send_key, &k);
        XSync(dpy, False);
    }
    XCloseDisplay(dpy);
    return w != 0;
}

bool close_show_window(const std::string& display)
{
    Display* dpy = open_display(display);
    if (!dpy)
        return false;
    Window w = find_window(dpy, DefaultRootWindow(dpy));
    if (w) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, w, False, NoEventMask, &e);
        XSync(dpy, False);
    }
    XCloseDisplay(dpy);
    return w != 0;
}
