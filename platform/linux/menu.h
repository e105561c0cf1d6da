// Menus as window destruction needs them.
#pragma once

#include "platform/win32.h"

namespace platform {

// Forgets the menu bar of a window being destroyed.
void destroyWindowMenu(HWND window);

}  // namespace platform
