// The X windows behind a window, for code that talks to the X server
// directly (the tests send real input and window manager requests).
#pragma once

#include "platform/win32.h"

namespace platform {

// 0 while the window is not shown.
unsigned long topLevelXWindow(HWND window);
unsigned long clientXWindow(HWND window);

}  // namespace platform
