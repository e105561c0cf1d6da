// Win32 virtual-key codes for the toolkit's key numbers.
#pragma once

namespace platform {

// The virtual-key code of a key as Fl::event_key() names it (the unshifted
// key, so Shift and Caps Lock never change a letter's code), or 0 for keys
// Windows has no code for.
int virtualKeyFor(int toolkitKey);

}  // namespace platform
