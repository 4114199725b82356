#include "platform/shader_runtime.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "gl/gl_extensions.h"

namespace shrt {

namespace {
bool resolve_calls()
{
    return resolve_glsl_calls();
}

// One compiled stage of one source file, shared by every program made from
// that file for that stage. Kept for the life of the process (and of its
// one GL context).
struct CompiledStage {
    GLuint shader = 0;
    bool ok = false;
    bool readable = true;
    std::string log;
    std::vector<std::pair<std::string, int>> uniforms;  // name, components
};

// A vertex/fragment pair linked into one GL program.
struct LinkedPair {
    GLuint program = 0;
    bool ok = false;
    std::string log;
    std::map<std::string, GLint> locations;
};

std::map<std::pair<int, std::string>, std::unique_ptr<CompiledStage>> g_stages;
std::map<std::pair<GLuint, GLuint>, std::unique_ptr<LinkedPair>> g_links;
int g_compiles = 0;

Error g_pending = NO_ERROR;
ErrorCallback g_callback = nullptr;
std::set<Context*> g_contexts;

struct BindingState {
    Program* bound[2] = {nullptr, nullptr};  // vertex, fragment
    bool enabled[2] = {false, false};
    // What is running now.
    LinkedPair* active = nullptr;
    Program* activeStage[2] = {nullptr, nullptr};
};
BindingState g_state;

int slot_of(Profile p)
{
    return p == CG_PROFILE_ARBVP1 ? 0 : p == CG_PROFILE_ARBFP1 ? 1 : -1;
}

void fail(Error e)
{
    g_pending = e;
    if (g_callback)
        g_callback();
}

int components_of(const std::string& type)
{
    if (type == "float")
        return 1;
    if (type == "vec2")
        return 2;
    if (type == "vec3")
        return 3;
    if (type == "vec4")
        return 4;
    return 0;
}

// Uniforms the source declares (one name per declaration, as all our
// sources write them). Comments are skipped line by line.
std::vector<std::pair<std::string, int>> declared_uniforms(const std::string& source)
{
    std::vector<std::pair<std::string, int>> out;
    static const std::regex decl(R"(^\s*uniform\s+(\w+)\s+(\w+)\s*;)");
    std::istringstream in(source);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, decl)) {
            const int n = components_of(m[1].str());
            if (n > 0)
                out.emplace_back(m[2].str(), n);
        }
    }
    return out;
}

// One GL shader object compiled from source; its info log goes to log.
GLuint compile_source(const std::string& source, int slot, bool& ok, std::string& log)
{
    const GLuint shader = ext::glCreateShader(slot == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* text = source.c_str();
    const GLint length = GLint(source.size());
    ext::glShaderSource(shader, 1, &text, &length);
    ext::glCompileShader(shader);
    ++g_compiles;
    GLint status = GL_FALSE;
    ext::glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    ok = status == GL_TRUE;
    GLint logLength = 0;
    ext::glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    log.clear();
    if (logLength > 1) {
        log.assign(size_t(logLength), '\0');
        ext::glGetShaderInfoLog(shader, logLength, nullptr, &log[0]);
        log.resize(std::strlen(log.c_str()));
    }
    return shader;
}

CompiledStage* compile_stage(const std::string& file, int slot)
{
    auto key = std::make_pair(slot, file);
    auto it = g_stages.find(key);
    if (it != g_stages.end())
        return it->second.get();
    auto stage = std::make_unique<CompiledStage>();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        stage->readable = false;
        stage->log = file + ": cannot open the file for reading";
        // A missing file may appear later (not cached).
        static CompiledStage missing;
        missing = *stage;
        return &missing;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string source = ss.str();
    stage->uniforms = declared_uniforms(source);
    std::string log;
    stage->shader = compile_source(source, slot, stage->ok, log);
    if (!log.empty())
        stage->log = file + ":\n" + log;
    CompiledStage* raw = stage.get();
    g_stages[key] = std::move(stage);
    return raw;
}

LinkedPair* link_pair(GLuint vs, GLuint fs)
{
    auto key = std::make_pair(vs, fs);
    auto it = g_links.find(key);
    if (it != g_links.end())
        return it->second.get();
    auto pair = std::make_unique<LinkedPair>();
    pair->program = ext::glCreateProgram();
    if (vs)
        ext::glAttachShader(pair->program, vs);
    if (fs)
        ext::glAttachShader(pair->program, fs);
    ext::glLinkProgram(pair->program);
    GLint status = GL_FALSE;
    ext::glGetProgramiv(pair->program, GL_LINK_STATUS, &status);
    pair->ok = status == GL_TRUE;
    if (!pair->ok) {
        GLint logLength = 0;
        ext::glGetProgramiv(pair->program, GL_INFO_LOG_LENGTH, &logLength);
        std::string log(size_t(std::max(logLength, 1)), '\0');
        ext::glGetProgramInfoLog(pair->program, GLsizei(log.size()), nullptr, &log[0]);
        log.resize(std::strlen(log.c_str()));
        pair->log = log;
    } else {
        // Samplers read the unit their name ends in.
        GLint count = 0;
        ext::glGetProgramiv(pair->program, GL_ACTIVE_UNIFORMS, &count);
        GLint previous = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
        ext::glUseProgram(pair->program);
        for (GLint i = 0; i < count; ++i) {
            char name[256] = {0};
            GLint size = 0;
            GLenum type = 0;
            ext::glGetActiveUniform(pair->program, GLuint(i), sizeof(name), nullptr, &size, &type, name);
            const bool sampler = type == GL_SAMPLER_2D || type == GL_SAMPLER_2D_RECT_ARB || type == GL_SAMPLER_1D ||
                                 type == GL_SAMPLER_3D || type == GL_SAMPLER_CUBE;
            if (!sampler)
                continue;
            const size_t n = std::strlen(name);
            const int unit = n > 0 && name[n - 1] >= '0' && name[n - 1] <= '9' ? name[n - 1] - '0' : 0;
            ext::glUniform1i(ext::glGetUniformLocation(pair->program, name), unit);
        }
        ext::glUseProgram(GLuint(previous));
    }
    LinkedPair* raw = pair.get();
    g_links[key] = std::move(pair);
    return raw;
}
}  // namespace

struct Parameter {
    Program* program = nullptr;
    std::string name;
    int components = 0;
    float value[4] = {0.f, 0.f, 0.f, 0.f};
    bool set = false;
};

struct Program {
    Context* context = nullptr;
    Profile profile = PROFILE_UNKNOWN;
    CompiledStage* stage = nullptr;
    bool loaded = false;
    std::vector<std::unique_ptr<Parameter>> parameters;
};

struct Context {
    std::vector<std::unique_ptr<Program>> programs;
    std::string listing;
    bool hasListing = false;
};

namespace {
// Every live handle, so that a stale one (its program or context
// destroyed) is recognised without being dereferenced.
std::set<const Program*> g_livePrograms;
std::set<const Parameter*> g_liveParameters;

bool valid_program(const Program* p)
{
    return p && g_livePrograms.count(p) != 0;
}

bool valid_parameter(const Parameter* p)
{
    return p && g_liveParameters.count(p) != 0;
}

void forget_handles(const Program* p)
{
    for (const auto& parameter : p->parameters)
        g_liveParameters.erase(parameter.get());
    g_livePrograms.erase(p);
}

void upload(const Parameter& p, LinkedPair* link)
{
    if (!p.set || !link)
        return;
    auto it = link->locations.find(p.name);
    if (it == link->locations.end())
        it = link->locations.emplace(p.name, ext::glGetUniformLocation(link->program, p.name.c_str())).first;
    const GLint loc = it->second;
    if (loc < 0)
        return;  // declared but unused: the compiler dropped it
    switch (p.components) {
    case 1: ext::glUniform1fv(loc, 1, p.value); break;
    case 2: ext::glUniform2fv(loc, 1, p.value); break;
    case 3: ext::glUniform3fv(loc, 1, p.value); break;
    default: ext::glUniform4fv(loc, 1, p.value); break;
    }
}

// Makes GL run what the binding state says.
void apply()
{
    Program* stages[2];
    for (int i = 0; i < 2; ++i)
        stages[i] = g_state.enabled[i] ? g_state.bound[i] : nullptr;
    if (!stages[0] && !stages[1]) {
        if (g_state.active)
            ext::glUseProgram(0);
        g_state.active = nullptr;
        g_state.activeStage[0] = g_state.activeStage[1] = nullptr;
        return;
    }
    LinkedPair* link = link_pair(stages[0] ? stages[0]->stage->shader : 0, stages[1] ? stages[1]->stage->shader : 0);
    if (!link->ok) {
        Context* c = (stages[0] ? stages[0] : stages[1])->context;
        c->listing = link->log;
        c->hasListing = true;
        ext::glUseProgram(0);
        g_state.active = nullptr;
        g_state.activeStage[0] = g_state.activeStage[1] = nullptr;
        fail(LINK_ERROR);
        return;
    }
    ext::glUseProgram(link->program);
    g_state.active = link;
    for (int i = 0; i < 2; ++i) {
        g_state.activeStage[i] = stages[i];
        if (stages[i])
            for (const auto& p : stages[i]->parameters)
                upload(*p, link);
    }
}

void forget_bindings_of(Context* c)
{
    bool changed = false;
    for (int i = 0; i < 2; ++i)
        if (g_state.bound[i] && g_state.bound[i]->context == c) {
            g_state.bound[i] = nullptr;
            changed = true;
        }
    if (changed)
        apply();
}

void set_values(Parameter* p, int n, const float* v)
{
    if (!valid_parameter(p)) {
        fail(INVALID_PARAM_HANDLE);
        return;
    }
    if (n > p->components) {
        fail(PARAMETER_TYPE_MISMATCH);
        return;
    }
    for (int i = 0; i < n; ++i)
        p->value[i] = v[i];
    p->set = true;
    Program* owner = p->program;
    if (g_state.active && (g_state.activeStage[0] == owner || g_state.activeStage[1] == owner))
        upload(*p, g_state.active);
}
}  // namespace

bool is_profile_supported(Profile profile)
{
    if (slot_of(profile) < 0 || !resolve_calls())
        return false;
    const char* v = reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION));
    int major = 0, minor = 0;
    if (!v || std::sscanf(v, "%d.%d", &major, &minor) != 2)
        return false;
    return major > 1 || (major == 1 && minor >= 20);
}

void set_error_callback(ErrorCallback callback)
{
    g_callback = callback;
}

Context* create_context()
{
    resolve_calls();
    Context* c = new Context();
    g_contexts.insert(c);
    return c;
}

void destroy_context(Context* context)
{
    if (!context || !g_contexts.count(context)) {
        fail(INVALID_CONTEXT_HANDLE);
        return;
    }
    forget_bindings_of(context);
    for (const auto& p : context->programs)
        forget_handles(p.get());
    g_contexts.erase(context);
    delete context;
}

Error get_error()
{
    Error e = g_pending;
    g_pending = NO_ERROR;
    return e;
}

const char* error_string(Error error)
{
    switch (error) {
    case NO_ERROR: return "no error";
    case FILE_READ_ERROR: return "the source file could not be read";
    case COMPILER_ERROR: return "the program failed to compile";
    case LINK_ERROR: return "the vertex and fragment programs failed to link";
    case INVALID_CONTEXT_HANDLE: return "invalid context handle";
    case INVALID_PROGRAM_HANDLE: return "invalid program handle";
    case INVALID_PARAM_HANDLE: return "invalid parameter handle";
    case INVALID_PROFILE: return "the profile is not supported";
    case PARAMETER_TYPE_MISMATCH: return "the value does not fit the parameter's type";
    case PROGRAM_NOT_LOADED: return "the program was not loaded";
    }
    return "unknown error";
}

const char* last_listing(Context* context)
{
    if (!context || !g_contexts.count(context) || !context->hasListing)
        return nullptr;
    return context->listing.c_str();
}

Program* create_program_from_file(Context* context, const std::string& file, Profile profile)
{
    if (!context || !g_contexts.count(context)) {
        fail(INVALID_CONTEXT_HANDLE);
        return nullptr;
    }
    const int slot = slot_of(profile);
    if (slot < 0 || !is_profile_supported(profile)) {
        fail(INVALID_PROFILE);
        return nullptr;
    }
    CompiledStage* stage = compile_stage(file, slot);
    if (!stage->readable || !stage->ok) {
        context->listing = stage->log;
        context->hasListing = !stage->log.empty();
        fail(stage->readable ? COMPILER_ERROR : FILE_READ_ERROR);
        return nullptr;
    }
    auto program = std::make_unique<Program>();
    program->context = context;
    program->profile = profile;
    program->stage = stage;
    for (const auto& u : stage->uniforms) {
        auto p = std::make_unique<Parameter>();
        p->program = program.get();
        p->name = u.first;
        p->components = u.second;
        g_liveParameters.insert(p.get());
        program->parameters.push_back(std::move(p));
    }
    Program* raw = program.get();
    g_livePrograms.insert(raw);
    context->programs.push_back(std::move(program));
    return raw;
}

void load_program(Program* program)
{
    if (!valid_program(program)) {
        fail(INVALID_PROGRAM_HANDLE);
        return;
    }
    program->loaded = true;
}

void destroy_program(Program* program)
{
    if (!valid_program(program)) {
        fail(INVALID_PROGRAM_HANDLE);
        return;
    }
    bool changed = false;
    for (int i = 0; i < 2; ++i)
        if (g_state.bound[i] == program) {
            g_state.bound[i] = nullptr;
            changed = true;
        }
    forget_handles(program);
    auto& list = program->context->programs;
    list.erase(std::remove_if(list.begin(), list.end(), [program](const auto& p) { return p.get() == program; }),
               list.end());
    if (changed)
        apply();
}

Parameter* named_parameter(Program* program, const std::string& name)
{
    if (!valid_program(program)) {
        fail(INVALID_PROGRAM_HANDLE);
        return nullptr;
    }
    for (const auto& p : program->parameters)
        if (p->name == name)
            return p.get();
    return nullptr;
}

void enable_profile(Profile profile)
{
    const int slot = slot_of(profile);
    if (slot < 0) {
        fail(INVALID_PROFILE);
        return;
    }
    if (!g_state.enabled[slot]) {
        g_state.enabled[slot] = true;
        if (g_state.bound[slot])
            apply();
    }
}

void disable_profile(Profile profile)
{
    const int slot = slot_of(profile);
    if (slot < 0) {
        fail(INVALID_PROFILE);
        return;
    }
    if (g_state.enabled[slot]) {
        g_state.enabled[slot] = false;
        if (g_state.bound[slot])
            apply();
    }
}

void bind_program(Program* program)
{
    if (!valid_program(program)) {
        fail(INVALID_PROGRAM_HANDLE);
        return;
    }
    if (!program->loaded) {
        fail(PROGRAM_NOT_LOADED);
        return;
    }
    g_state.bound[slot_of(program->profile)] = program;
    apply();
}

void bind_programs(Program* vertex, Program* fragment)
{
    for (Program* p : {vertex, fragment}) {
        if (p && !valid_program(p)) {
            fail(INVALID_PROGRAM_HANDLE);
            return;
        }
        if (p && !p->loaded) {
            fail(PROGRAM_NOT_LOADED);
            return;
        }
    }
    if ((vertex && slot_of(vertex->profile) != 0) || (fragment && slot_of(fragment->profile) != 1)) {
        fail(INVALID_PROFILE);
        return;
    }
    if (g_state.bound[0] == vertex && g_state.bound[1] == fragment)
        return;
    g_state.bound[0] = vertex;
    g_state.bound[1] = fragment;
    apply();
}

void unbind_programs()
{
    if (!g_state.bound[0] && !g_state.bound[1])
        return;
    g_state.bound[0] = g_state.bound[1] = nullptr;
    apply();
}

void unbind_program(Profile profile)
{
    const int slot = slot_of(profile);
    if (slot < 0) {
        fail(INVALID_PROFILE);
        return;
    }
    if (g_state.bound[slot]) {
        g_state.bound[slot] = nullptr;
        apply();
    }
}

void set_parameter_1f(Parameter* p, float x)
{
    set_values(p, 1, &x);
}

void set_parameter_2f(Parameter* p, float x, float y)
{
    const float v[2] = {x, y};
    set_values(p, 2, v);
}

void set_parameter_2fv(Parameter* p, const float* v)
{
    set_values(p, 2, v);
}

void set_parameter_3f(Parameter* p, float x, float y, float z)
{
    const float v[3] = {x, y, z};
    set_values(p, 3, v);
}

void set_parameter_3fv(Parameter* p, const float* v)
{
    set_values(p, 3, v);
}

void set_parameter_4fv(Parameter* p, const float* v)
{
    set_values(p, 4, v);
}

int compile_count()
{
    return g_compiles;
}

bool parameter_value(const Parameter* p, float out[4])
{
    if (!valid_parameter(p) || !p->set)
        return false;
    std::copy(p->value, p->value + 4, out);
    return true;
}

Program* bound_program(Profile profile)
{
    const int slot = slot_of(profile);
    return slot < 0 ? nullptr : g_state.bound[slot];
}

bool profile_enabled(Profile profile)
{
    const int slot = slot_of(profile);
    return slot >= 0 && g_state.enabled[slot];
}

namespace {
std::string real_path(const std::string& path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

// Compiler and linker logs name the source by number ("0:12(5): error" from
// Mesa, "0(12) : error" from others); a person wants the file and the line.
std::string with_file_lines(const std::string& file, const std::string& log)
{
    static const std::regex mesa(R"(^\s*\d+:(\d+)\((\d+)\):\s*(.*)$)");
    static const std::regex other(R"(^\s*\d+\((\d+)\)\s*:\s*(.*)$)");
    std::string out;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, mesa))
            out += file + ":" + m[1].str() + ":" + m[2].str() + ": " + m[3].str() + "\n";
        else if (std::regex_match(line, m, other))
            out += file + ":" + m[1].str() + ": " + m[2].str() + "\n";
        else if (!line.empty())
            out += file + ": " + line + "\n";
    }
    return out;
}
}  // namespace

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
                    continue;
                }
                auto p = std::make_unique<Parameter>();
                p->program = program.get();
                p->name = u.first;
                p->components = u.second;
                g_liveParameters.insert(p.get());
                program->parameters.push_back(std::move(p));
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
