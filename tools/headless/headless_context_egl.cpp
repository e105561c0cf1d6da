#include "tools/headless/headless_context.h"

#include "platform/gl.h"

#include <epoxy/egl.h>

#include <cstdlib>

HeadlessContext::HeadlessContext() {
    // Mesa keeps compiled shaders in a cache on disk and, on a hit, skips the
    // compile and with it the log: a warning would show on the first check
    // of a file and never again.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    // Each step names what is missing, so that a machine without Mesa's EGL
    // gets one line it can act on.
    if (!epoxy_has_egl()) {
        failure_ = "EGL is not available (libEGL and Mesa's EGL driver, libegl-mesa0, are needed)";
        return;
    }
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless")) {
        failure_ = "EGL offers no surfaceless platform (Mesa's EGL driver, libegl-mesa0, is needed)";
        return;
    }
    EGLDisplay display =
        eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        failure_ = "the surfaceless EGL display cannot be initialised";
        return;
    }
    display_ = display;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        failure_ = "EGL offers no desktop OpenGL";
        return;
    }
    // No config and no surface: the context draws only into framebuffer
    // objects, and shader work needs no framebuffer at all.
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        failure_ = "EGL cannot create a desktop OpenGL context";
        return;
    }
    context_ = context;
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        failure_ = "the OpenGL context cannot be made current without a surface";
    }
}

// The display stays initialised: both tools exit right after, and Mesa's
// eglTerminate unloads its driver while dropping a block the driver allocated
// once, a leak LeakSanitizer reports with no frame left to name it by.
HeadlessContext::~HeadlessContext() {
    if (display_ == nullptr) return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != nullptr) eglDestroyContext(display_, context_);
}
