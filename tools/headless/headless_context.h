// An OpenGL context with no display at all: EGL on Mesa's surfaceless
// platform, desktop OpenGL with the compatibility profile that the viewer's
// window gets too. Made current on construction, released on destruction.
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
    // EGLDisplay and EGLContext, kept opaque so that the EGL headers (and the
    // X11 headers they may pull in) stay out of every file that includes this.
    void* display_ = nullptr;
    void* context_ = nullptr;
    std::string failure_;
};
