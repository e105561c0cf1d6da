// The process entry point on Linux: the program starts at WinMain, as on
// Windows, with the command line where the Windows C runtime keeps it
// (__argc, __argv); WinMain's one-string form stays empty, as no caller reads
// it. The display is opened, and GLUT started, with the first window, so a
// program can answer its command line without a display.

#include "platform/win32.h"

int __argc = 0;
char** __argv = nullptr;

int main(int argc, char** argv) {
    __argc = argc;
    __argv = argv;
    static char module;  // any non-null handle: nothing loads from the module
    static char commandLine[] = "";
    return WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, 0);
}
