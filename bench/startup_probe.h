// Start-up probes: a program started as a process of its own that reports
// when its first frame was swapped and how much memory it took, so that the
// viewer and the bare program are measured the same way, each from its exec.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The frames a probe draws in all, the first included, before it reports its
// peak memory: enough for the driver to have built what a running viewer
// keeps.
constexpr int kProbeFrames = 30;

// The probe's side, called once its window and context are ready: draws
// kProbeFrames frames with drawFrame (each ends with its swap), writes the
// report to standard output and returns the exit status.
int runProbe(const std::function<void()>& drawFrame);

struct ProbeFigures {
    double firstSwapMs = 0.0;     // from just before the process was started
    double waitingMs = 0.0;       // of that, the main thread waiting for a processor
    double cpuMs = 0.0;           // CPU time of the probe until then, all threads
    double peakResidentMiB = 0.0;
};

// The viewer's start-up against the bare program's: medians over pairs of
// start-ups.
struct StartupFigures {
    int pairs = 0;
    ProbeFigures viewer = {};
    ProbeFigures bare = {};
    // Viewer minus bare, medians of the pairs' differences. The first swaps
    // are compared less the time each main thread waited for a processor:
    // on a busy machine that wait is most of the wall time and differs by
    // hundreds of milliseconds between two runs of the same program.
    double firstSwapDelayMs = 0.0;
    double extraPeakMiB = 0.0;
};

// Starts the two programs in turns, the order flipped in every other pair,
// one at a time so that neither competes with the other for the processors.
// False when a probe failed.
bool measureStartups(const std::vector<std::string>& viewerProbe, const std::vector<std::string>& bareProgram,
                     int pairs, StartupFigures* figures);

// The benchmark's side of one probe: starts the program (its path first)
// with standard error discarded, reads its report and waits for its end.
// False, with a message on standard error, when it fails, ends without a
// report or takes longer than a minute.
bool measureProbe(const std::vector<std::string>& arguments, ProbeFigures* figures);
