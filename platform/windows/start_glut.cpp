// On Windows the C runtime enters WinMain itself, so GLUT, needed before the
// Application constructor, is started here during static initialisation
// (nothing else there uses it) through the same startGlut() that the Linux
// layer calls as it creates the first window.

#include <cstdlib>
#include <string>

#include "platform/glut_startup.h"

namespace {

// freeglut takes DISPLAY for the name of an X display on every system; on
// Windows it hands the name to CreateDC, which fails, and warns on standard
// error at every start wherever DISPLAY is set (under Wine, in an X-aware
// shell). The viewer opens no display through GLUT, so glutInit does not
// get to see the variable; it is put back afterwards.
bool startGlutWithoutDisplay() {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    if (display) _putenv("DISPLAY=");
    startGlut();
    if (display) _putenv(("DISPLAY=" + saved).c_str());
    return true;
}

const bool glutStarted = startGlutWithoutDisplay();

}  // namespace
