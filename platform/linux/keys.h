// Win32 virtual-key codes for the keys the toolkit reports.
#pragma once

namespace platform {

// The virtual-key code of the key of the toolkit's current key event, as
// Windows' keyboard layouts give it, or 0 for a key the viewer has no use
// for (see win32.h): by the key's symbol where that names a code, by the
// key's place on a US keyboard where it does not (every letter of a Russian
// or Greek layout, and the digit row of AZERTY, which shows & é " ' ( - è _
// ç à without Shift).
int virtualKeyOfEvent();

}  // namespace platform
