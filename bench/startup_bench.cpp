// Start-up time of the show: from the moment the program is started to the
// first frame of the loading screen, and to the end of the loading work
// with the five-second loading hold (and its fade) taken out.
//
// Needs an X display (scripts/with_display.sh gives one) and a built
// bin/morvane and bin/wendit. Runs the show several times in a temporary
// data tree that quits at once, and prints the median and the spread.
//
//   scripts/with_display.sh build/bench/startup_bench [RUNS]
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/bench_harness.h"

namespace {
long long now_us()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

bool run_once(const std::string& tree, const std::string& bin, std::map<std::string, long long>& marks,
              long long& start)
{
    const std::string errPath = tree + "/stderr.txt";
    start = now_us();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir((tree + "/bin").c_str()) != 0)
            _exit(126);
        int in = open("/dev/null", O_RDONLY);
        int out = open("/dev/null", O_WRONLY);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        setenv("WENDIT_STARTUP_TRACE", "1", 1);
        unsetenv("WENDIT_FRAME_MS");
        // Opening a sound device is not what is measured; machines without
        // one play into SDL's silent driver unless told otherwise.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        execl((bin + "/morvane").c_str(), "morvane", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    std::ifstream in(errPath);
    for (std::string line; std::getline(in, line);) {
        std::istringstream ls(line);
        std::string hash, tag, name;
        long long us = 0;
        if (ls >> hash >> tag >> name >> us && tag == "startup-trace")
            marks[name] = us;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && marks.size() == 5;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!bench::require_display("startup_bench"))
        return 2;
    const std::string repo = bench::repository();
    const std::string bin = repo + "/bin";
    char tmpl[] = "/tmp/wendit-bench-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const std::string tree = tmpl;
    std::system(("mkdir -p " + tree + "/bin " + tree + "/data/script").c_str());
    // The shader sources are read from ../src at run time.
    std::system(("ln -s " + repo + "/src " + tree + "/src").c_str());
    std::ofstream(tree + "/data/script/markers.txt") << "s00 00:00:00,000\nquit 00:00:00,001\n";
    if (std::system(("cd " + tree + "/bin && " + bin + "/wendit bake --data ../data >/dev/null").c_str()) != 0) {
        std::cerr << "startup_bench: baking the data tree failed" << std::endl;
        return 1;
    }

    std::vector<double> toFirst, toLoaded;
    for (int i = 0; i < runs; ++i) {
        std::map<std::string, long long> m;
        long long start = 0;
        if (!run_once(tree, bin, m, start)) {
            std::cerr << "startup_bench: run " << i << " failed (see " << tree << "/stderr.txt)" << std::endl;
            return 1;
        }
        toFirst.push_back((m["first-frame"] - start) / 1000.0);
        // The loading image is kept up on purpose: 200 ms after the first
        // frame and the hold with its fade. Neither is loading work.
        const long long held = (m["hold-end"] - m["hold-begin"]) + (m["first-draw-done"] - m["first-frame"]);
        toLoaded.push_back((m["loaded"] - start - held) / 1000.0);
        const std::string run = "run " + std::to_string(i);
        bench::print_ratio(run + ": first loading frame", toFirst.back(), "ms");
        bench::print_ratio(run + ": loading done (hold excluded)", toLoaded.back(), "ms");
    }
    const std::string medianOf = " (median of " + std::to_string(runs) + " runs)";
    char note[96];
    std::snprintf(note, sizeof note, "min %.1f, max %.1f; target < 300 ms",
                  *std::min_element(toFirst.begin(), toFirst.end()), *std::max_element(toFirst.begin(), toFirst.end()));
    bench::print_ratio("process start -> first loading frame" + medianOf, bench::median(toFirst), "ms", {}, note);
    std::snprintf(note, sizeof note, "min %.1f, max %.1f", *std::min_element(toLoaded.begin(), toLoaded.end()),
                  *std::max_element(toLoaded.begin(), toLoaded.end()));
    bench::print_ratio("-> end of loading, hold excluded" + medianOf, bench::median(toLoaded), "ms", {}, note);
    std::system(("rm -rf " + tree).c_str());
    return 0;
}
