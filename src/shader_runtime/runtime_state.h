#pragma once
// The shader runtime's own state and the steps its parts share. Only
// src/shader_runtime/ includes it.
//
// A file compiles once per stage into a CompiledStage (compile_cache.cpp,
// its uniforms read by uniform_parsing.cpp); a vertex and a fragment stage
// link once into a LinkedPair (link_cache.cpp), whose samplers are given
// their units (sampler_units.cpp). Programs and parameters are the handles
// callers hold (handle_registry.cpp); binding.cpp makes GL run what is
// bound and sends parameter values; hot_reload.cpp compiles a file anew
// while the show runs and log_rewriting.cpp names the file and line in its
// messages. errors.cpp keeps the pending error and the callback.
#include <GL/gl.h>
#include <GL/glext.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gl/gl_extensions.h"
#include "shader_runtime/shader_runtime.h"

namespace shrt {
namespace detail {
struct CompiledStage;
}

// The handles callers hold.
// Sends a parameter's value to its uniform in the program in use: one GL
// call, chosen by the number of components when the parameter is made.
using UniformSender = void (*)(GLint location, const float* value);

struct Parameter {
    Program* program = nullptr;
    std::string name;
    int components = 0;
    UniformSender send = nullptr;
    float value[4] = {0.f, 0.f, 0.f, 0.f};
    bool set = false;
    // The uniform's location in the linked pair numbered linkSerial (-1:
    // the compiler dropped it), found when that pair linked.
    GLint location = -1;
    unsigned linkSerial = 0;
};

struct Program {
    Context* context = nullptr;
    Profile profile = PROFILE_UNKNOWN;
    detail::CompiledStage* stage = nullptr;
    bool loaded = false;
    std::vector<std::unique_ptr<Parameter>> parameters;
};

struct Context {
    std::vector<std::unique_ptr<Program>> programs;
    std::string listing;
    bool hasListing = false;
};

namespace detail {

inline bool resolve_calls()
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

// A vertex/fragment pair linked into one GL program. The serial tells
// apart every link the process made (a reload links anew), so that a
// parameter knows whether the location it holds is this link's.
struct LinkedPair {
    GLuint program = 0;
    bool ok = false;
    std::string log;
    unsigned serial = 0;
};

// Every compiled stage by (slot, file) and every linked pair by its two
// shaders, for the life of the process (and of its one GL context).
extern std::map<std::pair<int, std::string>, std::unique_ptr<CompiledStage>> g_stages;
extern std::map<std::pair<GLuint, GLuint>, std::unique_ptr<LinkedPair>> g_links;
extern int g_compiles;
extern int g_links_made;

struct BindingState {
    Program* bound[2] = {nullptr, nullptr};  // vertex, fragment
    bool enabled[2] = {false, false};
    // What is running now.
    LinkedPair* active = nullptr;
    Program* activeStage[2] = {nullptr, nullptr};
};
extern BindingState g_state;
extern std::set<Context*> g_contexts;

// 0 for the vertex profile, 1 for the fragment profile, -1 for any other.
int slot_of(Profile p);
// Leaves the error pending and runs the callback.
void fail(Error e);

// The uniforms a source declares: name and number of float components.
std::vector<std::pair<std::string, int>> declared_uniforms(const std::string& source);
// One GL shader object compiled from source; its info log goes to log.
GLuint compile_source(const std::string& source, int slot, bool& ok, std::string& log);
// The file's stage, compiled on first use.
CompiledStage* compile_stage(const std::string& file, int slot);
// The pair's link, made on first use.
LinkedPair* link_pair(GLuint vs, GLuint fs);
// Points each sampler of a linked program at the unit its name ends in.
void assign_sampler_units(GLuint program);
// Finds the location of each of program's parameters in link.
void resolve_locations(Program* program, const LinkedPair& link);
// The sender for a parameter of that many components.
UniformSender uniform_sender(int components);

bool valid_program(const Program* p);
bool valid_parameter(const Parameter* p);
// The new parameter of program for a uniform, registered as live.
void add_parameter(Program* program, const std::string& name, int components);

// Makes GL run what the binding state says.
void apply();

// The compiler's or linker's log with each line led by the file name and
// line number.
std::string with_file_lines(const std::string& file, const std::string& log);

}  // namespace detail
}  // namespace shrt
