#include "platform/glut_startup.h"

#include "platform/gl.h"

void startGlut() {
    static bool started = false;
    if (started) return;
    started = true;
    // glutInit reads its options from the command line; the viewer's is
    // ignored, so it gets just a program name.
    char name[] = "verrine";
    char* arguments[] = {name, nullptr};
    int count = 1;
    glutInit(&count, arguments);
}
