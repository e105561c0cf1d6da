// The process entry point on Linux: the viewer starts at WinMain, as on
// Windows.

#include "platform/glut_startup.h"
#include "platform/linux/display.h"
#include "platform/win32.h"

int main(int, char**) {
    // Before glutInit, which would fail on a missing display in its own way.
    platform::requireDisplay();
    startGlut();
    // Any non-null handle: nothing loads resources from the module.
    static char module;
    static char commandLine[] = "";
    return WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, 0);
}
