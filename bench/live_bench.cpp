// Measures verrine-live against the viewer it is built on, in one window on
// a scratch copy of resources/: the frame rate while nothing changes, the
// delay from an editor's save to the first frame drawn with the new
// program, and the memory over many reloads. Checks the budgets on request.
//
//   verrine_live_bench [--check]
//
// Run it from the repository root on an X display; `make bench` does both
// under Xvfb. The reports the reloads print are discarded.

#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

#include "app/globals.h"
#include "app/viewer.h"
#include "app/window.h"
#include "bench/budgets.h"
#include "bench/process_clocks.h"
#include "bench/viewer_frame.h"
#include "platform/gl.h"
#include "platform/glut_startup.h"
#include "tools/live/live_session.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 400;
constexpr int kFramesPerBlock = 3;
constexpr int kWarmUpFrames = 30;
constexpr int kSaves = 20;
constexpr int kReloads = 1000;
constexpr int kEarlyReload = 10;
constexpr int kDrawnReloadEvery = 25;
// Frames between two saves: long enough for the watch to have settled.
constexpr double kQuietBetweenSavesSeconds = 0.3;
constexpr double kGiveUpSeconds = 5.0;

// Wall seconds for `frames` frames, glFinish inside the timing.
double timeBlock(int frames, const std::function<void()>& frame) {
    glFinish();
    const double start = wallSeconds();
    for (int i = 0; i < frames; ++i) frame();
    glFinish();
    return wallSeconds() - start;
}

// The viewer's loop and verrine-live's in short blocks, taking turns, the
// order flipped every round; live's rate over the viewer's, median of the
// rounds.
double frameRateRatio(HDC deviceContext, LiveSession& session) {
    const std::function<void()> viewer = [&] { viewerFrame(deviceContext); };
    const std::function<void()> live = [&] {
        viewerFrame(deviceContext);
        session.afterFrame();
    };
    timeBlock(kWarmUpFrames, viewer);
    timeBlock(kWarmUpFrames, live);
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        const bool liveFirst = round % 2 == 1;
        const double first = timeBlock(kFramesPerBlock, liveFirst ? live : viewer);
        const double second = timeBlock(kFramesPerBlock, liveFirst ? viewer : live);
        ratios.push_back(liveFirst ? second / first : first / second);
    }
    return medianOf(ratios);
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Frames of verrine-live until `done` holds; false after kGiveUpSeconds.
bool liveFramesUntil(HDC deviceContext, LiveSession& session, const std::function<bool()>& done) {
    for (const double start = wallSeconds(); wallSeconds() - start < kGiveUpSeconds;) {
        if (done()) return true;
        viewerFrame(deviceContext);
        session.afterFrame();
    }
    return false;
}

// Each save writes a new file beside the toon fragment and renames it over
// the old one, as many editors do, with the fragment's colour scaled
// differently each time. Timed from the rename to the end of the first frame
// drawn with the new program, and that less the time the main thread waited
// for a processor: llvmpipe compiles the program's code at that first frame,
// on the main thread, and on a busy machine most of its wall time is spent
// waiting for a turn.
SaveLatencies saveLatencies(HDC deviceContext, LiveSession& session, const fs::path& fragment) {
    std::ifstream file(fragment, std::ios::binary);
    std::stringstream original;
    original << file.rdbuf();
    const std::string text = original.str();
    SaveLatencies latencies;
    for (int save = 0; save < kSaves; ++save) {
        const double quietFrom = wallSeconds();
        liveFramesUntil(deviceContext, session, [&] { return wallSeconds() - quietFrom > kQuietBetweenSavesSeconds; });
        const GLuint before = application->shaderSet.currentProgram();
        const std::string scale = std::to_string(0.5 + save / (2.0 * kSaves));
        const fs::path written = fs::path(fragment).concat(".new");
        writeText(written, text.substr(0, text.rfind('}')) + "    gl_FragColor.rgb *= " + scale + ";\n}\n");
        const double renamed = wallSeconds();
        const double waited = processorWaitSeconds();
        fs::rename(written, fragment);
        // A save never shown counts as the time waited for it.
        if (liveFramesUntil(deviceContext, session, [&] { return application->shaderSet.currentProgram() != before; })) {
            latencies.inUseMs.push_back((wallSeconds() - renamed - processorWaitSeconds() + waited) * 1000.0);
            viewerFrame(deviceContext);
            glFinish();
        } else {
            latencies.inUseMs.push_back((wallSeconds() - renamed) * 1000.0);
        }
        latencies.wallMs.push_back((wallSeconds() - renamed) * 1000.0);
        latencies.lessWaitingMs.push_back(latencies.wallMs.back() - (processorWaitSeconds() - waited) * 1000.0);
    }
    return latencies;
}

// Reloads of the toon program straight from its files, without the watch's
// settling; the peak memory early on and at the end, and how many replaced
// programs are still OpenGL programs. Some reloads are drawn, so that the
// driver's compiled code for a program is made and must go with it; drawing
// each would take minutes, as that code is compiled anew for each program.
void reloadMemory(HDC deviceContext, LiveSession& session, const fs::path& fragment, LiveFigures& figures) {
    const std::set<std::string> changed = {fragment.string()};
    for (int reload = 1; reload <= kReloads; ++reload) {
        const GLuint before = application->shaderSet.currentProgram();
        session.rebuildChanged(changed);
        if (reload % kDrawnReloadEvery == 0) viewerFrame(deviceContext);
        if (glIsProgram(before)) ++figures.programsLeft;
        if (reload == kEarlyReload) figures.peakEarlyMiB = peakResidentMiB();
    }
    figures.peakLateMiB = peakResidentMiB();
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 2 && std::strcmp(argv[1], "--check") == 0;
    if (argc > 1 && !check) {
        std::fprintf(stderr, "usage: verrine_live_bench [--check]\n");
        return 2;
    }
    std::string scratch = (fs::temp_directory_path() / "verrine-live-bench-XXXXXX").string();
    if (!mkdtemp(scratch.data())) {
        std::fprintf(stderr, "verrine_live_bench: cannot make a scratch folder\n");
        return 2;
    }
    const fs::path resources = fs::path(scratch) / "resources";
    fs::copy("resources", resources, fs::copy_options::recursive);
    const fs::path fragment = resources.string() + kProgramFiles[0].fragment;
    // As verrine-live runs: every save compiled afresh.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    std::cerr.rdbuf(nullptr);

    startGlut();
    HWND window = openViewerWindow(nullptr, kLiveTitle);
    HDC deviceContext = nullptr;
    HGLRC renderingContext = nullptr;
    createGLContext(window, &deviceContext, &renderingContext);
    LiveSession session(window, ShaderPair(), resources.string(), true);
    session.startViewer(resources.string());
    if (!session.start().empty()) return 2;
    application->shaderSet.setMode(kToonMode);

    LiveFigures figures;
    figures.frameRateRatio = frameRateRatio(deviceContext, session);
    figures.saveLatencies = saveLatencies(deviceContext, session, fragment);
    reloadMemory(deviceContext, session, fragment, figures);
    fs::remove_all(scratch);

    std::printf("verrine-live benchmark: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    printLiveFigures(figures);
    if (!check) return 0;
    return checkLiveBudgets(figures) ? 0 : 1;
}
