// The benchmark's figures, how they are printed, and the budgets they are
// held to.
#pragma once

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
    LoopFigures bare = {};
    double frameRateRatio = 0.0;   // viewer / bare, median over the pairs of blocks
    IdlePeek idlePeek = {};
    double firstFrameSinceStartMs = -1.0;   // negative when the start time is unknown
    double firstFrameSinceMainMs = 0.0;
    double firstFrameCpuMs = 0.0;           // CPU time of the process until then, all threads
    double peakResidentMiB = 0.0;
};

// The budgets.
constexpr double kMinFrameRateRatio = 0.95;   // viewer frames per second / bare loop's
constexpr double kMaxIdlePeekUs = 2.0;
constexpr double kMaxFirstFrameMs = 300.0;
constexpr double kMaxPeakResidentMiB = 80.0;

void printFigures(const Figures& figures);
// Prints one line per budget and returns whether all are met. A figure that
// could not be measured (not a number, unknown start time) fails.
bool checkBudgets(const Figures& figures);
