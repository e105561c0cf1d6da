// The shader entry points as the viewer needs them on every driver.
//
// libepoxy resolves glCreateShader and its companions on a driver that offers
// less than OpenGL 2.0 through GL_ARB_shader_objects (so the shader modes run
// on a driver that lacks 2.0), and stops the process when even that extension
// is missing. The viewer instead wants those calls to do nothing and return 0
// below 2.0, so that every mode draws with the fixed pipeline. The guard below
// decides this once, at the first call of any of those entry points, from the
// version of the context that is then current; callers keep writing plain
// glCreateShader(...).
#pragma once

struct ShaderEntryPointGuard {
    // Runs during static initialisation: puts a resolver in front of each
    // guarded epoxy dispatch pointer. No GL call is made here.
    ShaderEntryPointGuard();
};

// Defined in every file that includes this header but constructed once. Any
// program that links code including it also links the guard: a static library
// contributes only the object files that something refers to.
inline ShaderEntryPointGuard shaderEntryPointGuard;
