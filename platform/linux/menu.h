// Menus as window destruction needs them.
#pragma once

#include "platform/win32.h"

namespace platform {

// Removes a window's menu bar and frees its menu with the popups, as
// destroying the window does on Windows.
void destroyWindowMenu(HWND window);

}  // namespace platform
