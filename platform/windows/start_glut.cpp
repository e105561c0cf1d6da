// On Windows the C runtime enters WinMain itself, so nothing of ours runs
// before it but static initialisation. GLUT must be started before its first
// geometry or font routine, which comes in the Application constructor, so
// it is started here, during static initialisation, through the same
// startGlut() that the Linux layer calls as it creates the first window.
// Nothing else in static initialisation uses GLUT, so the order among those
// initialisers does not matter.

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
