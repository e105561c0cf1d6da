#include "bench/viewer_frame.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "app/viewer.h"

void viewerFrame(HDC deviceContext) {
    MSG message = {};
    if (!runFrame(deviceContext, &message)) windowClosed();
}

void windowClosed() {
    std::fprintf(stderr, "%s: the window was closed during the run\n", program_invocation_short_name);
    std::exit(2);
}
