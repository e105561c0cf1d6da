// The toolkit widgets of a window and the input they turn into messages.
#pragma once

#include "platform/linux/window.h"

namespace platform {

// Gives the window its widgets, not shown yet: a top-level window of this
// place and inner size holding an OpenGL client area of this toolkit mode.
void makeWidgets(HWND window, int x, int y, int width, int height, int clientMode);

}  // namespace platform
