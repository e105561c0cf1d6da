// Win32 virtual-key codes for the keys the toolkit reports.
#pragma once

namespace platform {

// The virtual-key code of the toolkit's current key event as Windows'
// layouts give it, or 0 for a key the viewer has no use for (win32.h).
int virtualKeyOfEvent();

}  // namespace platform
