// The pending error, the callback that hears of it, and each error's text.
#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {
namespace {
Error g_pending = NO_ERROR;
ErrorCallback g_callback = nullptr;
}  // namespace

void fail(Error e)
{
    g_pending = e;
    if (g_callback)
        g_callback();
}

}  // namespace detail

using namespace detail;

void set_error_callback(ErrorCallback callback)
{
    g_callback = callback;
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

}  // namespace shrt
