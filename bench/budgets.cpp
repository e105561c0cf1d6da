#include "bench/budgets.h"

#include <cstdio>

namespace {

void printLoop(const char* name, const LoopFigures& loop) {
    std::printf("%-22s %10.1f %14.1f %14.1f\n", name, loop.framesPerSecond, loop.processCpuUsPerFrame,
                loop.threadCpuUsPerFrame);
}

// Written so that a NaN fails: every comparison with NaN is false.
bool report(const char* name, double value, const char* relation, double limit, bool met) {
    std::printf("budget  %-34s %10.3f %s %-8g %s\n", name, value, relation, limit, met ? "ok" : "FAILED");
    return met;
}

}  // namespace

void printFigures(const Figures& figures) {
    std::printf("%-22s %10s %14s %14s\n", "", "frames/s", "CPU us/frame", "main-thread");
    printLoop("viewer loop", figures.viewer);
    printLoop("bare scene loop", figures.bare);
    std::printf("%-22s %10.3f %14.3f %14.3f   (frame rate: median of the pairs)\n", "viewer / bare",
                figures.frameRateRatio,
                figures.viewer.processCpuUsPerFrame / figures.bare.processCpuUsPerFrame,
                figures.viewer.threadCpuUsPerFrame / figures.bare.threadCpuUsPerFrame);
    std::printf("idle PeekMessageA      %.3f us CPU, %.3f us wall per call (%ld calls timed together, "
                "%ld messages taken)\n",
                figures.idlePeek.cpuUs, figures.idlePeek.wallUs, figures.idlePeek.calls,
                figures.idlePeek.messagesTaken);
    if (figures.firstFrameSinceStartMs >= 0.0) {
        std::printf("first SwapBuffers      %.0f ms after process start (exec, /proc/self/stat starttime), "
                    "%.0f ms after main entry, %.0f ms of CPU\n",
                    figures.firstFrameSinceStartMs, figures.firstFrameSinceMainMs, figures.firstFrameCpuMs);
    } else {
        std::printf("first SwapBuffers      process start unknown (/proc unreadable), %.0f ms after main entry, "
                    "%.0f ms of CPU\n",
                    figures.firstFrameSinceMainMs, figures.firstFrameCpuMs);
    }
    std::printf("peak resident memory   %.1f MiB (getrusage ru_maxrss)\n", figures.peakResidentMiB);
}

bool checkBudgets(const Figures& figures) {
    const double ratio = figures.frameRateRatio;
    bool met = true;
    met &= report("viewer / bare frames per second", ratio, ">=", kMinFrameRateRatio, ratio >= kMinFrameRateRatio);
    const double peek = figures.idlePeek.cpuUs;
    met &= report("idle PeekMessageA (us CPU)", peek, "<", kMaxIdlePeekUs, peek < kMaxIdlePeekUs);
    const double firstFrame = figures.firstFrameSinceStartMs;
    met &= report("first frame after start (ms)", firstFrame, "<", kMaxFirstFrameMs,
                  firstFrame >= 0.0 && firstFrame < kMaxFirstFrameMs);
    met &= report("peak resident memory (MiB)", figures.peakResidentMiB, "<", kMaxPeakResidentMiB,
                  figures.peakResidentMiB < kMaxPeakResidentMiB);
    return met;
}
