// The toolkit widgets of a window and the input they turn into messages.
#pragma once

#include "platform/linux/window.h"

namespace platform {

// Gives the window its toolkit widgets, not shown yet: a top-level window of
// this place and inner size, filled by the OpenGL client area of this
// toolkit mode. From the first window on, the X keyboard focus of every
// window is followed.
void makeWidgets(HWND window, int x, int y, int width, int height, int clientMode);

}  // namespace platform
