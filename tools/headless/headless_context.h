// An OpenGL context that shows nothing, for programs that draw only into
// framebuffer objects or draw nothing at all. Desktop OpenGL with the
// compatibility profile that the viewer's window gets too. One of two
// implementations is built: on Linux EGL on Mesa's surfaceless platform, with
// no display at all (headless_context_egl.cpp); on Windows WGL on a window
// that is never shown, with the viewer's own pixel format
// (headless_context_wgl.cpp). Made current on construction, released on
// destruction.
#pragma once

#include <string>

class HeadlessContext {
public:
    HeadlessContext();
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Empty when the context is current; otherwise one line saying why no
    // context could be made.
    const std::string& failure() const { return failure_; }

private:
    // EGLDisplay and EGLContext, or the hidden window's HWND, HDC and HGLRC,
    // kept opaque so that neither system's headers reach every file that
    // includes this.
    void* window_ = nullptr;
    void* display_ = nullptr;
    void* context_ = nullptr;
    std::string failure_;
};
