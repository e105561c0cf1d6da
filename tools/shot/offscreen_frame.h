// A framebuffer object of a given size that takes every frame drawn while it
// is bound, and gives its colour back as pixels.
#pragma once

#include <vector>

#include "platform/gl.h"

class OffscreenFrame {
public:
    // Needs a current context; binds the framebuffer for drawing and reading.
    OffscreenFrame(int width, int height);
    ~OffscreenFrame();
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;

    bool complete() const;
    // 8-bit RGB, rows from the top of the picture down.
    std::vector<unsigned char> readRgb() const;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
    GLuint depth_ = 0;
};
