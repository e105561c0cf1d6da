// One turn of the viewer's frame loop for the benchmarks, which end the run
// when the window is closed under them.
#pragma once

#include "platform/win32.h"

// The viewer's frame loop iteration, as its entry point runs it: the frame
// timer and the rate refresh are part of what the viewer adds.
void viewerFrame(HDC deviceContext);

// Ends the benchmark with status 2, saying why.
[[noreturn]] void windowClosed();
