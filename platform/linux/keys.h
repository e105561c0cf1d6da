// Win32 virtual-key codes for the keys the toolkit reports.
#pragma once

#include <string>

namespace platform {

// The virtual-key code of a key as Fl::event_key() names it (the unshifted
// key, so Shift and Caps Lock never change a letter's code), or 0 for keys
// Windows has no code for.
int virtualKeyFor(int toolkitKey);

// The virtual-key code of the key in this place on a US keyboard, the place
// named as XKB names it ("AE01" holds 1, "AD01" Q), or 0.
int virtualKeyAtUsPlace(const std::string& placeName);

// The virtual-key code of the key of the toolkit's current key event, as
// Windows' keyboard layouts give it: by the key's symbol where that names a
// code, by the key's place on a US keyboard where it does not (every letter
// of a Russian or Greek layout), and the digits by place on every layout
// (AZERTY's digit row shows & é " ' ( - è _ ç à without Shift).
int virtualKeyOfEvent();

}  // namespace platform
