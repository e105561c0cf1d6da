// Tick count and performance counter.

#include <time.h>

#include "platform/win32.h"

namespace {

constexpr LONGLONG kCounterFrequency = 10000000;  // 100 ns ticks, as current Windows reports

LONGLONG nanoseconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return static_cast<LONGLONG>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

// Milliseconds since the system started, sleep included, wrapping at 2^32
// (about 49.7 days) through the truncation to 32 bits.
DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(nanoseconds(CLOCK_BOOTTIME) / 1000000); }

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = kCounterFrequency;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    count->QuadPart = nanoseconds(CLOCK_MONOTONIC) / (1000000000 / kCounterFrequency);
    return TRUE;
}
