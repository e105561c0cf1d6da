// Times one iteration of the frame loop with the performance counter.
#pragma once

#include "platform/win32.h"

class FrameTimer {
public:
    FrameTimer();

    void startFrame();
    void stopFrame();
    // The rate of the last measured frame, from the low 32 bits of the
    // readings so that a carry between them still gives the true count.
    double framesPerSecond();

    LARGE_INTEGER frequency;
    LARGE_INTEGER startCount;
    LARGE_INTEGER stopCount;
};
