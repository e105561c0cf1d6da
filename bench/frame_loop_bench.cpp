// Measures the viewer's frame loop against the scene's own drawing, in one
// window and one context, and checks the performance budgets on request.
//
//   verrine_bench [--check] [--pairs N] [--frames N]
//
// --check      exit with status 1 when a budget is not met
// --pairs N    pairs of blocks, one of each loop (50)
// --frames N   frames in each block (40)
//
// Run it from the repository root (the viewer reads resources/ from there)
// on an X display; `make bench` does both under Xvfb.
//
// The two loops run in alternating blocks, the order flipped in every other
// pair, so that a slow drift of the machine (frequency, other load) weighs
// on both alike instead of on whichever ran second. The budgeted ratio is the
// median of the pairs' ratios: a burst of other load that hits one block
// moves one pair, not the result.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/globals.h"
#include "app/viewer.h"
#include "app/window.h"
#include "bench/bare_scene.h"
#include "bench/budgets.h"
#include "bench/process_clocks.h"
#include "platform/gl.h"
#include "platform/glut_startup.h"

namespace {

struct Settings {
    bool check = false;
    int pairs = 50;
    int framesPerBlock = 40;
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
    std::fprintf(stderr, "usage: verrine_bench [--check] [--pairs N] [--frames N]\n");
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
        } else if (std::strcmp(argv[i], "--pairs") == 0 && i + 1 < argc) {
            settings.pairs = positiveArgument(argv[++i]);
        } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            settings.framesPerBlock = positiveArgument(argv[++i]);
        } else {
            usage();
        }
    }
    return settings;
}

[[noreturn]] void windowClosed() {
    std::fprintf(stderr, "verrine_bench: the window was closed during the run\n");
    std::exit(2);
}

// The viewer's start-up, step for step as its entry point does it.
HWND openViewer(HDC* deviceContext) {
    HWND window = openViewerWindow(nullptr);
    HGLRC renderingContext = nullptr;
    createGLContext(window, deviceContext, &renderingContext);
    startViewer(window);
    return window;
}

// One iteration of the viewer's frame loop, as its entry point runs it: the
// frame timer and the rate refresh are part of what the viewer adds.
void viewerFrame(HDC deviceContext) {
    MSG message = {};
    if (!runFrame(deviceContext, &message)) windowClosed();
}

void bareFrame(HDC deviceContext, const BareView& view) {
    drawBareScene(view);
    SwapBuffers(deviceContext);
}

// glFinish inside the timing: a block is over only when its last frame is.
template <typename Frame>
void timeBlock(LoopTotals& totals, int frames, Frame frame) {
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

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

LoopFigures figuresOf(const LoopTotals& totals) {
    const double frames = static_cast<double>(totals.frames);
    return {frames / totals.wall, totals.processCpu / frames * 1e6, totals.threadCpu / frames * 1e6};
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

BareView viewOf(const Camera& camera) {
    return {{camera.position.x, camera.position.y, camera.position.z},
            {camera.rotationPoint.x, camera.rotationPoint.y, camera.rotationPoint.z},
            {camera.up.x, camera.up.y, camera.up.z}};
}

}  // namespace

int main(int argc, char** argv) {
    const double mainEntry = wallSeconds();
    const Settings settings = parseSettings(argc, argv);

    startGlut();
    HDC deviceContext = nullptr;
    HWND window = openViewer(&deviceContext);

    // The viewer's first frame is the process's first swap.
    viewerFrame(deviceContext);
    Figures figures;
    figures.firstFrameSinceStartMs = secondsSinceProcessStart() * 1e3;
    figures.firstFrameSinceMainMs = (wallSeconds() - mainEntry) * 1e3;
    figures.firstFrameCpuMs = processCpuSeconds() * 1e3;

    const BareView view = viewOf(*application->camera);
    LoopTotals viewer;
    LoopTotals bare;
    LoopTotals warmUp;
    timeBlock(warmUp, kWarmUpFrames, [&] { viewerFrame(deviceContext); });
    timeBlock(warmUp, kWarmUpFrames, [&] { bareFrame(deviceContext, view); });
    std::vector<double> pairRatios;
    for (int pair = 0; pair < settings.pairs; ++pair) {
        const double viewerWall = viewer.wall;
        const double bareWall = bare.wall;
        const auto viewerBlock = [&] { timeBlock(viewer, settings.framesPerBlock, [&] { viewerFrame(deviceContext); }); };
        const auto bareBlock = [&] { timeBlock(bare, settings.framesPerBlock, [&] { bareFrame(deviceContext, view); }); };
        if (pair % 2 == 0) {
            viewerBlock();
            bareBlock();
        } else {
            bareBlock();
            viewerBlock();
        }
        // Equal frame counts: the ratio of frame rates is the inverse ratio of times.
        pairRatios.push_back((bare.wall - bareWall) / (viewer.wall - viewerWall));
    }
    figures.viewer = figuresOf(viewer);
    figures.bare = figuresOf(bare);
    figures.frameRateRatio = medianOf(pairRatios);
    figures.idlePeek = measureIdlePeek();
    figures.peakResidentMiB = peakResidentMiB();

    RECT client = {};
    GetClientRect(window, &client);
    std::printf("Verrine frame-loop benchmark: %s, client area %d x %d, %d pairs of %d-frame blocks\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), static_cast<int>(client.right),
                static_cast<int>(client.bottom), settings.pairs, settings.framesPerBlock);
    printFigures(figures);
    if (!settings.check) return 0;
    return checkBudgets(figures) ? 0 : 1;
}
