#include "platform/linux/failure.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include <FL/Fl.H>
#include <FL/x.H>

namespace platform {

namespace {

// The toolkit reports a lost X connection through Fl::fatal; route it to the
// same single line.
[[noreturn]] void toolkitFatal(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("verrine: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
    std::exit(1);
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
    Display* display = XOpenDisplay(nullptr);
    if (!display) failPlatform(std::string("cannot open the X display \"") + name + "\" (is DISPLAY set?)");
    Fl::fatal = toolkitFatal;
    fl_open_display(display);
}

}  // namespace platform
