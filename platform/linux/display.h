// The X display, the X windows behind a window (tests send input and window
// manager requests to them), and how the layer gives up: one line on
// standard error naming what could not be made, then status 1. The viewer
// checks no platform result, so carrying on would only crash later.
#pragma once

#include <string>

#include "platform/win32.h"

struct _XDisplay;

namespace platform {

[[noreturn]] void failPlatform(const std::string& what);

// Opens the X display named by DISPLAY and hands it to the toolkit, or fails
// with a line that names the display. Does nothing once a display is open.
void requireDisplay();

// A new connection to the display named by DISPLAY, or null if there is
// none. A busy X server refuses connections for a moment when its listen
// queue is full; a few short retries tell that from a missing display.
_XDisplay* connectToDisplay();

// 0 while the window is not shown.
unsigned long topLevelXWindow(HWND window);
unsigned long clientXWindow(HWND window);

}  // namespace platform
