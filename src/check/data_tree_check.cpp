#include "check/data_tree_check.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

#include "mesh_files/bzobj_format.h"
#include "mesh_files/cMeshObj_data.h"
#include "mesh_files/mesh_names.h"
#include "mesh_files/obj/cObjLoader.h"
#include "platform/mp3_decode.h"
#include "runtime/cSoundModule_fmod.h"
#include "texture/texture_image.h"
#include "timeline/cEvent.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/cMidiReader.h"
#include "util/printable_text.h"

namespace {
class Checker {
public:
    Checker(const std::string& dir, cCheckReport& report) : m_dir(dir), m_report(report) {}

    void check(const cAssetEntry& e)
    {
        switch (e.kind) {
        case eAssetKind::marker_script: markers(e.path); break;
        case eAssetKind::music: music(e.path); break;
        case eAssetKind::midi: midi(e.path); break;
        case eAssetKind::image: image(e.path); break;
        case eAssetKind::mesh: mesh_vertices(e.path); break;
        case eAssetKind::morph_pair: morph(e.path, e.second); break;
        case eAssetKind::text: text(e.path); break;
        }
    }

private:
    void problem(const std::string& path, const std::string& what) { m_report.problems.push_back(path + ": " + what); }
    std::string full(const std::string& path) const { return m_dir + "/" + path; }

    // The file's bytes; false (with the problem noted) when it cannot be read.
    bool read(const std::string& path, std::string& bytes)
    {
        m_report.files += 1;
        FILE* f = std::fopen(full(path).c_str(), "rb");
        if (!f) {
            problem(path, errno == ENOENT ? "missing" : std::string("cannot be read: ") + std::strerror(errno));
            return false;
        }
        char buf[65536];
        size_t n;
        bytes.clear();
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.append(buf, n);
        const bool failed = std::ferror(f) != 0;
        const int err = errno;
        std::fclose(f);
        if (failed)
            problem(path, std::string("cannot be read: ") + std::strerror(err));
        return !failed;
    }

    void markers(const std::string& path)
    {
        std::string bytes;
        if (!read(path, bytes))
            return;
        std::ostringstream warn;
        std::unique_ptr<cEventQueue> q(cEventQueue_factory::parse(bytes.data(), bytes.size(), warn));
        std::istringstream lines(warn.str());
        for (std::string line; std::getline(lines, line);)
            problem(path, line);
        const auto& ev = q->events();
        if (std::none_of(ev.begin(), ev.end(), [](const cEvent* e) { return e->id == DE_SCENE_00; }))
            problem(path, "no s00 marker: the show has no start");
        if (const cEvent* quit = q->find_quit())
            m_quitMs = quit->time;
        else
            problem(path, "no quit marker: the show never ends");
    }

    void music(const std::string& path)
    {
        std::string bytes;
        if (!read(path, bytes))
            return;
        std::vector<int16_t> pcm;
        std::string detail;
        const int rate = 44100;
        const Mp3DecodeResult r = decode_mp3_file(full(path), rate, pcm, detail);
        if (r != Mp3DecodeResult::ok) {
            problem(path, "does not decode as MP3" + (detail.empty() ? std::string() : ": " + detail));
            return;
        }
        const long long ms = (long long)(pcm.size() / 2) * 1000 / rate;
        if (m_quitMs >= 0 && ms + MUSIC_TAIL_GRACE_MS < m_quitMs)
            problem(path, "is " + std::to_string(ms) + " ms long, shorter than the quit marker at " +
                              std::to_string(m_quitMs) + " ms");
    }

    void midi(const std::string& path)
    {
        std::string bytes;
        if (!read(path, bytes))
            return;
        MidiFile f;
        std::string error;
        std::ostringstream log;
        if (!cMidiReader::parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), f, error, log))
            problem(path, "not a MIDI file the show reads: " + error);
    }

    // The texture manager's own decode step and checks; the decoder's
    // words, when it had any, say what is wrong.
    void image(const std::string& path)
    {
        std::string bytes;
        if (!read(path, bytes))
            return;
        cTextureImage img;
        switch (img.decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
        case cTextureImage::undecodable:
            problem(path, "does not decode as an image" +
                              (img.messages.empty() ? std::string() : " (" + printable_text(img.messages, 200) + ")"));
            break;
        case cTextureImage::bad_depth:
            problem(path, "is " + std::to_string(img.bpp) + " bits per pixel, the show takes 24 or 32");
            break;
        case cTextureImage::none: break;
        }
    }

    // The mesh's vertex count, or -1. The mesh loaders end the process on a
    // bad file, so each mesh is loaded in a child process of its own.
    long mesh_vertices(const std::string& path)
    {
        std::string bytes;
        if (!read(path, bytes))
            return -1;
        int fds[2];
        if (pipe(fds) != 0) {
            problem(path, std::string("cannot be checked: ") + std::strerror(errno));
            return -1;
        }
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            dup2(fds[1], 1);
            dup2(fds[1], 2);
            cMeshData mesh;
            const std::string f = full(path);
            if (mesh_file_kind(mesh_extension(f)) == eMeshFileKind::obj) {
                cObjLoader loader(std::cerr, std::cerr);
                loader.load_mesh(f, mesh, mesh);
            } else if (mesh_file_kind(mesh_extension(f)) == eMeshFileKind::bzobj) {
                bobj_load_compressed(mesh, mesh, f);
            } else {
                std::printf("no loader for this extension\n");
                _exit(1);
            }
            std::printf("\nvertices=%zu\n", mesh.vertex_count());
            std::fflush(stdout);
            _exit(0);
        }
        close(fds[1]);
        std::string out;
        char buf[4096];
        for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
            out.append(buf, size_t(n));
        close(fds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        const size_t at = out.rfind("\nvertices=");
        if (pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && at != std::string::npos)
            return std::atol(out.c_str() + at + 10);
        // The loader's own first line says why.
        std::string why = out.substr(0, out.find('\n'));
        problem(path, "does not load as a mesh" + (why.empty() ? std::string() : ": " + printable_text(why, 200)));
        return -1;
    }

    void morph(const std::string& base, const std::string& target)
    {
        const long a = mesh_vertices(base), b = mesh_vertices(target);
        if (a >= 0 && b >= 0 && a != b)
            problem(base, "morph pair with " + target + " does not match: " + std::to_string(a) + " vs " +
                              std::to_string(b) + " vertices");
    }

    void text(const std::string& path)
    {
        std::string bytes;
        if (read(path, bytes) && bytes.empty())
            problem(path, "is empty");
    }

    std::string m_dir;
    cCheckReport& m_report;
    long long m_quitMs = -1;
};
}  // namespace

cCheckReport check_data_tree(const std::string& dataDir, const std::vector<cAssetEntry>& entries)
{
    cCheckReport report;
    Checker checker(dataDir, report);
    for (const cAssetEntry& e : entries)
        checker.check(e);
    return report;
}
