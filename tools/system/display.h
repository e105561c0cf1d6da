// What GLUT's geometry and font routines need before glutInit: on Linux an
// X display, or the tool stops with one line saying so (display_posix.cpp);
// on Windows nothing, as GLUT opens no display there (display_windows.cpp).
#pragma once

void requireGlutDisplay();
