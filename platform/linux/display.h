// How the Linux platform layer gives up: one line on standard error naming
// what could not be made, then exit status 1. The viewer checks no platform
// result, so carrying on after such a failure would only crash later.
#pragma once

#include <string>

namespace platform {

[[noreturn]] void failPlatform(const std::string& what);

// Opens the X display named by DISPLAY and hands it to the toolkit, or fails
// with a line that names the display. Does nothing once a display is open.
void requireDisplay();

}  // namespace platform
