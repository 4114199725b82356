#pragma once
// The shader runtime: vertex and fragment programs compiled from GLSL 1.20
// source files (compatibility profile, so the fixed-function matrices,
// light 0, material colours and texture units stay visible to them).
//
// It offers what the shader manager relies on: a context that owns
// programs, one program per file and stage (the two "profiles"), a compiler
// listing when a compile fails, an error callback that runs after every
// failing call, parameters looked up by name and set by value, the stages
// enabled and disabled, programs bound and unbound, and teardown with the
// context.
//
// A bound vertex program and a bound fragment program run together, linked
// into one GL program. link_programs links a pair when its shader loads and
// finds there the location of each of the two programs' parameters, so that
// binding links nothing and setting a value is one GL call; a pair bound
// without being linked first links then. Links are kept. A stage whose
// profile is disabled or that has nothing bound falls back to
// fixed-function processing. Parameter values live with their program and
// are sent to the linked program whenever the program becomes active, and
// at once while it is active.
//
// Each source file is compiled once per process and stage; a second program
// made from the same file shares the compiled stage but keeps its own
// parameter values.
//
// Samplers are not parameters: a sampler uniform whose name ends in a digit
// reads that texture unit (tex1 reads GL_TEXTURE1), any other reads unit 0.
//
// Main thread only, with the GL context current.
#include <string>

namespace shrt {

// Enumerants of the two profiles (the numbers the show's log has always
// used for them).
enum Profile : int {
    PROFILE_UNKNOWN = 0,
    CG_PROFILE_ARBVP1 = 6150,
    CG_PROFILE_ARBFP1 = 7000,
};

enum Error : int {
    NO_ERROR = 0,
    FILE_READ_ERROR,
    COMPILER_ERROR,
    LINK_ERROR,
    INVALID_CONTEXT_HANDLE,
    INVALID_PROGRAM_HANDLE,
    INVALID_PARAM_HANDLE,
    INVALID_PROFILE,
    PARAMETER_TYPE_MISMATCH,
    PROGRAM_NOT_LOADED,
};

struct Context;
struct Program;
struct Parameter;

// The version number the show reports at start-up.
constexpr int COMPILETIME_VERSION = 2200;

// True when the driver can run programs of that profile (GLSL 1.20 for the
// stage, and the entry points resolved).
bool is_profile_supported(Profile profile);

// Runs after every failing call; null removes it.
using ErrorCallback = void (*)();
void set_error_callback(ErrorCallback callback);

Context* create_context();
// Releases every program of the context; the handles are invalid afterwards.
void destroy_context(Context* context);

// The pending error (NO_ERROR when none), cleared by reading it.
Error get_error();
const char* error_string(Error error);
// The compiler or linker log of the last failed compile or link in the
// context; null when there is none.
const char* last_listing(Context* context);

// Compiles `file` for `profile` with entry function "main" (GLSL knows no
// other). Null on failure (file unreadable or compile error), with the
// listing kept in the context.
Program* create_program_from_file(Context* context, const std::string& file, Profile profile);
// Compiles `file` again for each stage compiled from it so far (a tuning
// session edits a source while the show runs). On success every program
// made from it runs the new code from its next use; parameter values stay,
// and uniforms the new source adds become parameters. When the new source
// fails to compile, or no longer links with a stage it ran with, nothing
// changes and `listing` holds the messages, each line led by the file name
// and the line number ("file:12:5: error: ..."). Returns the number of stages
// replaced, 0 when the file was never compiled, -1 on failure.
int recompile_file(const std::string& file, std::string& listing);

// Makes the program bindable.
void load_program(Program* program);
// Links the two (either may be null: that stage unbound) as bind_programs
// will run them, and resolves their parameters' locations in the link.
// False when they do not link, with the linker's log in the context.
bool link_programs(Program* vertex, Program* fragment);
void destroy_program(Program* program);

// The parameter declared as a uniform of that name (float, vec2, vec3 or
// vec4) in the program's source; null when it has none.
Parameter* named_parameter(Program* program, const std::string& name);

void enable_profile(Profile profile);
void disable_profile(Profile profile);
void bind_program(Program* program);
// Binds a vertex and a fragment program together (either may be null:
// that stage unbound) and switches GL once, to their linked pair, never
// through a program of one stage alone.
void bind_programs(Program* vertex, Program* fragment);
// Unbinds whatever program the profile has bound.
void unbind_program(Profile profile);
// Unbinds both stages at once.
void unbind_programs();

// Setting a null or foreign handle, or a value with more components than
// the parameter holds, is an error (reported through the callback) and
// changes nothing.
void set_parameter_1f(Parameter* p, float x);
void set_parameter_2f(Parameter* p, float x, float y);
void set_parameter_2fv(Parameter* p, const float* v);
void set_parameter_3f(Parameter* p, float x, float y, float z);
void set_parameter_3fv(Parameter* p, const float* v);
void set_parameter_4fv(Parameter* p, const float* v);

// Observation for tests and benchmarks.
// Stage compiles made by this process so far.
int compile_count();
// Vertex/fragment links made by this process so far.
int link_count();
// Values held by a parameter (components read into out[0..3]); false for a
// null handle or a parameter never set.
bool parameter_value(const Parameter* p, float out[4]);
// The program bound on a profile, whether or not the profile is enabled.
Program* bound_program(Profile profile);
bool profile_enabled(Profile profile);

}  // namespace shrt
