// Measures the viewer's frame loop against the scene's own drawing, in one
// window and one context; then the viewer's start-up and memory against a
// bare program's, each started as a process of its own. Checks the
// performance budgets on request.
//
//   verrine_bench [--check] [--rounds N] [--frames N] [--startups N]
//
// --check       exit with status 1 when a budget is not met
// --rounds N    rounds of blocks, one block of each loop in a round (400)
// --frames N    frames in each block (3)
// --startups N  pairs of start-ups, one of each program in a pair (9)
// --probe       be the viewer's start-up probe (the benchmark starts itself so)
//
// Run it from the repository root (the viewer reads resources/ from there)
// on an X display; `make bench` does both under Xvfb. The bare program,
// verrine_bare, is looked for next to this program.
//
// The loops run in short blocks, in turns, the order rotated in every round,
// so that a slow drift of the machine (frequency, other load) weighs on each
// alike instead of on whichever ran last. Every budgeted figure is a median
// over rounds or pairs: a burst of other load that hits one block or one
// start-up moves one round or one pair, not the result. The blocks are a few
// milliseconds long because on a busy machine few of them are then hit at
// all; with blocks of 30 frames nearly every one was, and the median of the
// ratios moved by 10 % from run to run.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/viewer.h"
#include "app/window.h"
#include "bench/bare_scene.h"
#include "bench/budgets.h"
#include "bench/process_clocks.h"
#include "bench/startup_probe.h"
#include "bench/viewer_frame.h"
#include "platform/gl.h"
#include "platform/glut_startup.h"
#include "shaders/diagnostic.h"

namespace {

struct Settings {
    bool check = false;
    bool probe = false;
    int rounds = 400;
    int framesPerBlock = 3;
    int startupPairs = 9;
};

struct LoopTotals {
    long frames = 0;
    double wall = 0.0;
    double processCpu = 0.0;
    double threadCpu = 0.0;
};

// Frames drawn by each loop before anything is timed: the first frames build
// the driver's shader variants and fill the caches.
constexpr int kWarmUpFrames = 30;
constexpr long kPeekCalls = 1000000;
// The queue is drained before the idle measurement; a window that keeps
// sending messages after this many is not idle.
constexpr int kMaxDrainedMessages = 10000;

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: verrine_bench [--check] [--rounds N] [--frames N] [--startups N]\n");
    std::exit(2);
}

int positiveArgument(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 1000000) usage();
    return static_cast<int>(value);
}

Settings parseSettings(int argc, char** argv) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0) {
            settings.check = true;
        } else if (std::strcmp(argv[i], "--probe") == 0) {
            settings.probe = true;
        } else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            settings.rounds = positiveArgument(argv[++i]);
        } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            settings.framesPerBlock = positiveArgument(argv[++i]);
        } else if (std::strcmp(argv[i], "--startups") == 0 && i + 1 < argc) {
            settings.startupPairs = positiveArgument(argv[++i]);
        } else {
            usage();
        }
    }
    return settings;
}

// The viewer's start-up, step for step as its entry point does it.
HWND openViewer(HDC* deviceContext) {
    startGlut();
    HWND window = openViewerWindow(nullptr);
    HGLRC renderingContext = nullptr;
    createGLContext(window, deviceContext, &renderingContext);
    startViewer(window);
    return window;
}

// glFinish inside the timing: a block is over only when its last frame is.
void timeBlock(LoopTotals& totals, int frames, const std::function<void()>& frame) {
    glFinish();
    const double wall = wallSeconds();
    const double processCpu = processCpuSeconds();
    const double threadCpu = threadCpuSeconds();
    for (int i = 0; i < frames; ++i) frame();
    glFinish();
    totals.frames += frames;
    totals.wall += wallSeconds() - wall;
    totals.processCpu += processCpuSeconds() - processCpu;
    totals.threadCpu += threadCpuSeconds() - threadCpu;
}

LoopFigures figuresOf(const LoopTotals& totals) {
    const double frames = static_cast<double>(totals.frames);
    return {frames / totals.wall, totals.processCpu / frames * 1e6, totals.threadCpu / frames * 1e6};
}

// The loops, each a frame drawn and swapped.
enum Loop { kViewerLoop, kBareLoop, kBareLoopWithoutText, kLoopCount };

// The loops in turns, the order rotated every round so that each loop runs
// first, second and last equally often. The bare loop shows the viewer's
// rate from the warm-up, "FPS: " and six characters like the viewer's text,
// formatted once: which digits are drawn hardly matters, as the driver's cost
// of the text is per frame, not per character.
void timeLoops(const Settings& settings, HDC deviceContext, Figures* figures) {
    const BareView view = viewOf(*application->camera);
    std::string text;
    const std::function<void()> frames[kLoopCount] = {
        [&] { viewerFrame(deviceContext); },
        [&] {
            drawBareScene(view);
            drawBareText(text);
            SwapBuffers(deviceContext);
        },
        [&] {
            drawBareScene(view);
            SwapBuffers(deviceContext);
        },
    };
    double blockWall[kLoopCount] = {};
    for (int loop = 0; loop < kLoopCount; ++loop) {
        if (loop == kBareLoop) text = fpsText(kWarmUpFrames / blockWall[kViewerLoop]);
        LoopTotals warmUp;
        timeBlock(warmUp, kWarmUpFrames, frames[loop]);
        blockWall[loop] = warmUp.wall;
    }

    LoopTotals totals[kLoopCount];
    std::vector<double> ratios;
    std::vector<double> ratiosWithoutText;
    for (int round = 0; round < settings.rounds; ++round) {
        for (int turn = 0; turn < kLoopCount; ++turn) {
            const int loop = (round + turn) % kLoopCount;
            const double before = totals[loop].wall;
            timeBlock(totals[loop], settings.framesPerBlock, frames[loop]);
            blockWall[loop] = totals[loop].wall - before;
        }
        // Equal frame counts: the ratio of frame rates is the inverse ratio of times.
        ratios.push_back(blockWall[kBareLoop] / blockWall[kViewerLoop]);
        ratiosWithoutText.push_back(blockWall[kBareLoopWithoutText] / blockWall[kViewerLoop]);
    }
    figures->viewer = figuresOf(totals[kViewerLoop]);
    figures->bare = figuresOf(totals[kBareLoop]);
    figures->bareWithoutText = figuresOf(totals[kBareLoopWithoutText]);
    figures->frameRateRatio = medianOf(ratios);
    figures->frameRateRatioWithoutText = medianOf(ratiosWithoutText);
}

// Takes and dispatches whatever is queued, then times PeekMessageA on an
// empty queue, many calls together. The cost is the calling thread's CPU time
// per call: on a busy machine the wall time also holds the slices in which
// other processes ran, which say nothing about the call. Messages that still
// arrive during the timing are dispatched and counted (each then also cost
// its dispatch).
IdlePeek measureIdlePeek() {
    MSG message = {};
    for (int i = 0; i < kMaxDrainedMessages && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) windowClosed();
        DispatchMessageA(&message);
    }
    IdlePeek peek = {};
    peek.calls = kPeekCalls;
    const double wall = wallSeconds();
    const double cpu = threadCpuSeconds();
    for (long i = 0; i < kPeekCalls; ++i) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) windowClosed();
            ++peek.messagesTaken;
            DispatchMessageA(&message);
        }
    }
    peek.cpuUs = (threadCpuSeconds() - cpu) / static_cast<double>(kPeekCalls) * 1e6;
    peek.wallUs = (wallSeconds() - wall) / static_cast<double>(kPeekCalls) * 1e6;
    return peek;
}

// This program's own path, and the bare program's next to it.
std::string ownPath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        std::fprintf(stderr, "verrine_bench: cannot read /proc/self/exe\n");
        std::exit(2);
    }
    return std::string(path, static_cast<std::size_t>(length));
}

void discardDiagnostic(const std::string&, const std::string&) {}

}  // namespace

int main(int argc, char** argv) {
    const Settings settings = parseSettings(argc, argv);
    // The shader sources that the viewer traces at start-up would bury the
    // figures. The probe, whose start-up is measured, writes them as the
    // viewer does (the benchmark discards its standard error).
    if (!settings.probe) setDiagnosticSink(discardDiagnostic);
    HDC deviceContext = nullptr;
    HWND window = openViewer(&deviceContext);
    if (settings.probe) return runProbe([&] { viewerFrame(deviceContext); });

    Figures figures;
    timeLoops(settings, deviceContext, &figures);
    figures.idlePeek = measureIdlePeek();

    // Last, and one process at a time: the window above stays open but draws
    // nothing meanwhile.
    const std::string self = ownPath();
    const std::string bare = self.substr(0, self.rfind('/') + 1) + "verrine_bare";
    if (!measureStartups({self, "--probe"}, {bare}, settings.startupPairs, &figures.startup)) return 2;

    RECT client = {};
    GetClientRect(window, &client);
    std::printf("Verrine frame-loop benchmark: %s, client area %d x %d, %d rounds of %d-frame blocks\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), static_cast<int>(client.right),
                static_cast<int>(client.bottom), settings.rounds, settings.framesPerBlock);
    printFigures(figures);
    if (!settings.check) return 0;
    return checkBudgets(figures) ? 0 : 1;
}
