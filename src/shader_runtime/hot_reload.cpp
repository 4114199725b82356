// Hot reload: a source file compiled anew while the show runs, replacing
// every stage made from it, or nothing when the new source fails.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {
namespace {
std::string real_path(const std::string& path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}
}  // namespace
}  // namespace detail

using namespace detail;

int recompile_file(const std::string& file, std::string& listing)
{
    listing.clear();
    const std::string wanted = real_path(file);
    std::vector<CompiledStage*> stages;
    std::vector<int> slots;
    for (auto& entry : g_stages)
        if (entry.second->ok && real_path(entry.first.second) == wanted) {
            stages.push_back(entry.second.get());
            slots.push_back(entry.first.first);
        }
    if (stages.empty() || !resolve_calls())
        return 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        listing = file + ": cannot open the file for reading\n";
        return -1;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string source = ss.str();

    // Compile every stage anew, then link each new stage with every partner
    // its old one ran with; anything failing leaves all as it was.
    std::map<GLuint, GLuint> fresh;  // old shader -> new shader
    auto discard = [&](const std::vector<std::pair<GLuint, GLuint>>& links) {
        for (const auto& key : links) {
            auto it = g_links.find(key);
            if (it != g_links.end()) {
                ext::glDeleteProgram(it->second->program);
                g_links.erase(it);
            }
        }
        for (const auto& entry : fresh)
            ext::glDeleteShader(entry.second);
    };
    for (size_t i = 0; i < stages.size(); ++i) {
        bool ok = false;
        std::string log;
        const GLuint shader = compile_source(source, slots[i], ok, log);
        fresh[stages[i]->shader] = shader;
        if (!ok) {
            listing = with_file_lines(file, log.empty() ? "the program failed to compile" : log);
            discard({});
            return -1;
        }
    }
    auto renamed = [&](GLuint s) { return fresh.count(s) ? fresh[s] : s; };
    std::vector<std::pair<GLuint, GLuint>> oldLinks, newLinks;
    for (const auto& entry : g_links)
        if (entry.second->ok && (fresh.count(entry.first.first) || fresh.count(entry.first.second)))
            oldLinks.push_back(entry.first);
    for (const auto& key : oldLinks) {
        const auto next = std::make_pair(renamed(key.first), renamed(key.second));
        newLinks.push_back(next);
        LinkedPair* pair = link_pair(next.first, next.second);
        if (!pair->ok) {
            listing = with_file_lines(file, pair->log.empty() ? "the programs failed to link" : pair->log);
            discard(newLinks);
            return -1;
        }
    }

    // Commit: the stages take the new shaders; what ran the old ones goes.
    bool activeGone = false;
    for (const auto& key : oldLinks) {
        auto it = g_links.find(key);
        activeGone = activeGone || it->second.get() == g_state.active;
        ext::glDeleteProgram(it->second->program);
        g_links.erase(it);
    }
    const auto uniforms = declared_uniforms(source);
    for (CompiledStage* stage : stages) {
        ext::glDeleteShader(stage->shader);
        stage->shader = fresh[stage->shader];
        stage->uniforms = uniforms;
        stage->log.clear();
    }
    for (Context* c : g_contexts)
        for (auto& program : c->programs) {
            if (std::find(stages.begin(), stages.end(), program->stage) == stages.end())
                continue;
            for (const auto& u : uniforms) {
                auto same = std::find_if(program->parameters.begin(), program->parameters.end(),
                                         [&](const auto& p) { return p->name == u.first; });
                if (same != program->parameters.end()) {
                    (*same)->components = u.second;
                    (*same)->send = uniform_sender(u.second);
                    continue;
                }
                add_parameter(program.get(), u.first, u.second);
            }
        }
    if (activeGone) {
        ext::glUseProgram(0);
        g_state.active = nullptr;
        g_state.activeStage[0] = g_state.activeStage[1] = nullptr;
        apply();
    }
    return int(stages.size());
}

}  // namespace shrt
