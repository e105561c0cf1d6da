#include "platform/linux/display.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>

namespace platform {

namespace {

// Waits of 10, 20, ... 50 ms between attempts: 150 ms in all before a
// missing display is reported.
constexpr int kConnectAttempts = 6;

// The toolkit reports a lost X connection through Fl::fatal; route it to the
// same single line.
[[noreturn]] void toolkitFatal(const char* format, ...) {
    char text[512];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    failPlatform(text);
}

}  // namespace

void failPlatform(const std::string& what) {
    std::fprintf(stderr, "verrine: %s\n", what.c_str());
    std::exit(1);
}

void requireDisplay() {
    if (fl_display) return;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) failPlatform("cannot open the X display (DISPLAY is not set)");
    Display* display = connectToDisplay();
    if (!display) failPlatform(std::string("cannot open the X display \"") + name + "\" (is DISPLAY set?)");
    Fl::fatal = toolkitFatal;
    // A held key repeats as presses alone, as on Windows. Otherwise the
    // server sends a release before every repeat, and the toolkit takes the
    // pair for a real release and press when a busy moment splits it
    // between two reads.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(display, True, &detectable);
    fl_open_display(display);
}

Display* connectToDisplay() {
    for (int attempt = 1;; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        if (attempt == kConnectAttempts) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * attempt));
    }
}

}  // namespace platform
