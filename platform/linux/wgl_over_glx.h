// The OpenGL side of a window, as window creation and destruction need it.
#pragma once

#include <FL/Enumerations.H>

#include "platform/win32.h"

namespace platform {

// The client area's visual: what the viewer asks of its pixel format.
constexpr int kClientAreaMode = FL_RGB8 | FL_DOUBLE | FL_DEPTH;

// Fails with one line unless the display has GLX and that visual.
void requireOpenGlVisual();

// Frees the device context of a window being destroyed.
void releaseDeviceContextOf(HWND window);

}  // namespace platform
