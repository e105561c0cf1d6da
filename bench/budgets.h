// The benchmark's figures, how they are printed, and the budgets they are
// held to.
#pragma once

#include <vector>

#include "bench/startup_probe.h"

struct LoopFigures {
    double framesPerSecond;
    double processCpuUsPerFrame;   // every thread, the rasteriser's included
    double threadCpuUsPerFrame;    // the thread that runs the loop
};

struct IdlePeek {
    double cpuUs;          // CPU time of the calling thread per call
    double wallUs;
    long calls;
    long messagesTaken;
};

struct Figures {
    LoopFigures viewer = {};
    LoopFigures bare = {};              // the scene and the frame-rate text
    LoopFigures bareWithoutText = {};   // the scene alone
    // Viewer / bare, medians over the rounds.
    double frameRateRatio = 0.0;
    double frameRateRatioWithoutText = 0.0;
    IdlePeek idlePeek = {};
    StartupFigures startup = {};
};

// verrine-live against the viewer (bench/live_bench.cpp).
struct SaveLatencies {
    std::vector<double> wallMs;         // rename to the end of the first frame drawn with the new program
    std::vector<double> lessWaitingMs;  // the same less the main thread's wait for a processor
    std::vector<double> inUseMs;        // rename to the new program in use, less waiting
};

struct LiveFigures {
    double frameRateRatio = 0.0;          // live / viewer, median over the rounds
    SaveLatencies saveLatencies;
    double peakEarlyMiB = 0.0;            // peak resident memory after reload 10
    double peakLateMiB = 0.0;             // and after the last
    int programsLeft = 0;                 // replaced programs still alive
};

// The budgets.
constexpr double kMinFrameRateRatio = 0.95;   // viewer frames per second / bare loop's
constexpr double kMaxIdlePeekUs = 2.0;
constexpr double kMaxFirstSwapDelayMs = 60.0;   // viewer's first swap after the bare program's
constexpr double kMaxExtraPeakMiB = 6.0;        // viewer's peak memory above the bare program's

constexpr double kMinLiveFrameRateRatio = 0.97;   // verrine-live's frames per second / the viewer's
constexpr double kMaxSaveLatencyMs = 250.0;       // median, less waiting for a processor; shown
constexpr double kMaxSaveToUseMs = 60.0;          // median, less waiting: the watch, settle and build
constexpr double kMaxReloadGrowthMiB = 1.0;       // peak after the last reload above that after reload 10

double medianOf(std::vector<double> values);

void printFigures(const Figures& figures);
// Prints one line per budget and returns whether all are met. A figure that
// could not be measured (not a number) fails.
bool checkBudgets(const Figures& figures);

void printLiveFigures(const LiveFigures& figures);
bool checkLiveBudgets(const LiveFigures& figures);
