// verrine-live: the viewer's window, scene and controls, from the viewer's
// own code, drawing each shader program anew the moment one of its files is
// saved.
//
// Exit status: 0 when the window is closed, 1 when the data folder is not
// found or its shader folders cannot be watched, 2 for a bad command line.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "app/window.h"
#include "shaders/shader_set.h"
#include "tools/common/resources_folder.h"
#include "tools/live/live_options.h"
#include "tools/live/live_session.h"
#include "tools/system/entry.h"
#include "tools/system/tool_start.h"

namespace {

int fail(const std::string& problem) {
    std::cerr << kLiveTool.name << ": " << problem << '\n';
    return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    char** argv = windowProgramArguments(argc);
    startTool(kLiveTool.name.c_str(), argv);
    const int count = argc - 1;
    const char* const* arguments = argv + 1;
    if (answeredHelpOrVersion(kLiveTool, count, arguments, std::cout)) return 0;
    LiveOptions live;
    std::string problem;
    if (!parseLiveOptions(count, arguments, live, problem)) return usageError(kLiveTool, problem);
    const std::string resources = findResourcesFolder(live.resources, problem);
    if (resources.empty()) return fail(problem);
    if (resources != kResourcesFolder) std::cerr << kLiveTool.name << ": the scene's data from " << resources << '\n';
#ifndef _WIN32
    // Mesa keeps compiled shaders in a cache on disk and, on a hit, skips the
    // compile and with it the log: a warning would show on the first save
    // of a text and not when the same text comes back.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
#endif

    HWND window = openViewerWindow(instance, kLiveTitle);
    HDC deviceContext = nullptr;
    HGLRC renderingContext = nullptr;
    createGLContext(window, &deviceContext, &renderingContext);
    LiveSession session(window, live.pair, resources, live.reference);
    session.startViewer(resources);
    problem = session.start();
    if (!problem.empty()) return fail(problem);

    MSG message = {};
    while (runFrame(deviceContext, &message)) session.afterFrame();

    closeViewer(window, deviceContext, renderingContext);
    return static_cast<int>(message.wParam);
}
