// The process entry point on Linux: the program starts at WinMain, as on
// Windows, with the command line where the Windows C runtime keeps it.

#include "platform/win32.h"

int __argc = 0;
char** __argv = nullptr;

int main(int argc, char** argv) {
    __argc = argc;
    __argv = argv;
    // The X display is opened, and GLUT started, with the first window: a
    // program can answer its command line without a display.
    // Any non-null handle: nothing loads resources from the module.
    static char module;
    // The arguments come through __argc and __argv alone; no caller reads
    // WinMain's one-string form, which would need Windows' quoting rules.
    static char commandLine[] = "";
    return WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, 0);
}
