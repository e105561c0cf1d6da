// The OpenGL side of a window, as window creation and destruction need it.
#pragma once

#include <FL/Enumerations.H>

#include "platform/win32.h"

namespace platform {

// The visual the client area is created with: what the viewer asks of its
// pixel format (RGBA with 8 bits a channel, double-buffered, with depth), so
// that setting that format later keeps the same X window.
constexpr int kClientAreaMode = FL_RGB8 | FL_DOUBLE | FL_DEPTH;

// Fails with one line unless the display has GLX and a visual for the
// client area.
void requireOpenGlVisual();

// Frees the device context of a window being destroyed.
void releaseDeviceContextOf(HWND window);

}  // namespace platform
