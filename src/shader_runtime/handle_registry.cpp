// The handle registry: contexts, programs and parameters as callers hold
// them. Every live handle is known, so that a stale one (its program or
// context destroyed) is recognised without being dereferenced.
#include <algorithm>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

std::set<Context*> g_contexts;

namespace {
std::set<const Program*> g_livePrograms;
std::set<const Parameter*> g_liveParameters;

void forget_handles(const Program* p)
{
    for (const auto& parameter : p->parameters)
        g_liveParameters.erase(parameter.get());
    g_livePrograms.erase(p);
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
}  // namespace

bool valid_program(const Program* p)
{
    return p && g_livePrograms.count(p) != 0;
}

bool valid_parameter(const Parameter* p)
{
    return p && g_liveParameters.count(p) != 0;
}

void add_parameter(Program* program, const std::string& name, int components)
{
    auto p = std::make_unique<Parameter>();
    p->program = program;
    p->name = name;
    p->components = components;
    p->send = uniform_sender(components);
    g_liveParameters.insert(p.get());
    program->parameters.push_back(std::move(p));
}

}  // namespace detail

using namespace detail;

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
    for (const auto& u : stage->uniforms)
        add_parameter(program.get(), u.first, u.second);
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

bool parameter_value(const Parameter* p, float out[4])
{
    if (!valid_parameter(p) || !p->set)
        return false;
    std::copy(p->value, p->value + 4, out);
    return true;
}

}  // namespace shrt
