#include "shaders/gl_entry_points.h"

#include <type_traits>

#include "platform/gl.h"

namespace {

void chooseEntryPoints();

// One guarded entry point: the epoxy dispatch pointer it takes over, the
// value epoxy had put there (epoxy's own lazy resolver), and the two stand-ins.
template <auto& dispatch, typename Proc = std::remove_reference_t<decltype(dispatch)>>
struct GuardedEntryPoint;

template <auto& dispatch, typename Result, typename... Args>
struct GuardedEntryPoint<dispatch, Result(EPOXY_CALLSPEC*)(Args...)> {
    using Proc = Result(EPOXY_CALLSPEC*)(Args...);

    static inline Proc epoxyResolver = nullptr;

    // The first call of any guarded entry point lands here and replaces every
    // one of them; this call then goes on through whatever was chosen.
    static Result EPOXY_CALLSPEC resolveThenCall(Args... args) {
        chooseEntryPoints();
        return dispatch(args...);
    }

    // Below OpenGL 2.0: no effect, and 0 for the calls that return a name or
    // a location.
    static Result EPOXY_CALLSPEC doNothing(Args...) { return Result(); }

    static void installResolver() {
        epoxyResolver = dispatch;
        dispatch = resolveThenCall;
    }
    static void restoreEpoxy() { dispatch = epoxyResolver; }
    static void installNoOp() { dispatch = doNothing; }
};

template <auto&... dispatch>
struct EntryPointSet {
    static void installResolvers() { (GuardedEntryPoint<dispatch>::installResolver(), ...); }
    static void restoreEpoxy() { (GuardedEntryPoint<dispatch>::restoreEpoxy(), ...); }
    static void installNoOps() { (GuardedEntryPoint<dispatch>::installNoOp(), ...); }
};

// Every entry point beyond OpenGL 1.x that the viewer calls.
using ShaderEntryPoints = EntryPointSet<
    epoxy_glCreateShader, epoxy_glShaderSource, epoxy_glCompileShader, epoxy_glGetShaderiv,
    epoxy_glGetShaderInfoLog, epoxy_glCreateProgram, epoxy_glAttachShader, epoxy_glLinkProgram,
    epoxy_glGetProgramiv, epoxy_glGetProgramInfoLog, epoxy_glUseProgram,
    epoxy_glGetUniformLocation, epoxy_glUniform3fv>;

// Reads the version of the current context once. From 2.0 on epoxy's own
// resolvers go back in place and resolve the core entry points as usual.
void chooseEntryPoints() {
    if (epoxy_gl_version() >= 20) {
        ShaderEntryPoints::restoreEpoxy();
    } else {
        ShaderEntryPoints::installNoOps();
    }
}

}  // namespace

ShaderEntryPointGuard::ShaderEntryPointGuard() {
    ShaderEntryPoints::installResolvers();
}
