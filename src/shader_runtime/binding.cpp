// Binding: which programs are bound and enabled, GL made to run their
// linked pair, and parameter values sent to it.
#include <cstdio>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

BindingState g_state;

int slot_of(Profile p)
{
    return p == CG_PROFILE_ARBVP1 ? 0 : p == CG_PROFILE_ARBFP1 ? 1 : -1;
}

namespace {
void send_1(GLint location, const float* value)
{
    ext::glUniform1fv(location, 1, value);
}

void send_2(GLint location, const float* value)
{
    ext::glUniform2fv(location, 1, value);
}

void send_3(GLint location, const float* value)
{
    ext::glUniform3fv(location, 1, value);
}

void send_4(GLint location, const float* value)
{
    ext::glUniform4fv(location, 1, value);
}

void upload(Parameter& p, const LinkedPair* link)
{
    if (!p.set || !link)
        return;
    // Found when the pair linked; only a program bound with a partner it
    // was not loaded with, or a pair linked anew by a reload, looks again.
    if (p.linkSerial != link->serial) {
        p.location = ext::glGetUniformLocation(link->program, p.name.c_str());
        p.linkSerial = link->serial;
    }
    if (p.location >= 0)  // else declared but unused: the compiler dropped it
        p.send(p.location, p.value);
}
}  // namespace

UniformSender uniform_sender(int components)
{
    static const UniformSender SENDERS[4] = {send_1, send_2, send_3, send_4};
    return SENDERS[components < 1 ? 0 : components > 4 ? 3 : components - 1];
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

namespace {
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
}  // namespace detail

using namespace detail;

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

namespace {
void set_profile_enabled(Profile profile, bool enabled)
{
    const int slot = slot_of(profile);
    if (slot < 0) {
        fail(INVALID_PROFILE);
        return;
    }
    if (g_state.enabled[slot] != enabled) {
        g_state.enabled[slot] = enabled;
        if (g_state.bound[slot])
            apply();
    }
}
}  // namespace

void enable_profile(Profile profile)
{
    set_profile_enabled(profile, true);
}

void disable_profile(Profile profile)
{
    set_profile_enabled(profile, false);
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

}  // namespace shrt
