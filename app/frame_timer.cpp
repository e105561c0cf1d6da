#include "app/frame_timer.h"

#include <cstdint>

FrameTimer::FrameTimer() { QueryPerformanceFrequency(&frequency); }

void FrameTimer::startFrame() { QueryPerformanceCounter(&startCount); }

void FrameTimer::stopFrame() { QueryPerformanceCounter(&stopCount); }

double FrameTimer::framesPerSecond() {
    // Unsigned 32-bit subtraction wraps, so a carry out of the low half
    // between the two readings still yields the true elapsed count.
    std::uint32_t elapsed = static_cast<std::uint32_t>(stopCount.LowPart) - static_cast<std::uint32_t>(startCount.LowPart);
    std::uint32_t countsPerSecond = static_cast<std::uint32_t>(frequency.LowPart);
    return 1.0 / (static_cast<double>(elapsed) / static_cast<double>(countsPerSecond));
}
