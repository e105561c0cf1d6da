#include "app/viewer.h"

#include "app/globals.h"
#include "app/window.h"

namespace {
// The shown rate is refreshed in frames that end on a tick count divisible
// by this, so the text changes a few times a second at most and stays
// readable; at a low frame rate whole seconds may pass between refreshes.
constexpr DWORD kFpsRefreshTicks = 40;
}  // namespace

HWND openViewerWindow(HINSTANCE instance, const char* title) {
    WNDCLASSA windowClass = {};
    // CS_OWNDC: the window keeps one device context, which the context and
    // every SwapBuffers use for its whole life.
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "verrine";
    RegisterClassA(&windowClass);

    lastMouseX = 0;
    lastMouseY = 0;
    return CreateWindowExA(0, "verrine", title, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 20, 40, 500, 495,
                           nullptr, nullptr, instance, nullptr);
}

void startViewer(HWND window, const std::string& resources, const ShaderBuildObserver& observer,
                 SceneReader* reader) {
    application = new Application(resources, observer, reader);
    frameTimer = new FrameTimer();
    // Attaching the bar shrinks the client area; the WM_SIZE it sends now
    // reaches the Application.
    createMenuBar(window);
    refreshMenuChecks(window);
}

// The loop never waits: one message at most, then one frame, as fast as the
// driver allows. WM_QUIT ends it before anything is drawn.
bool runFrame(HDC deviceContext, MSG* message) {
    frameTimer->startFrame();
    if (PeekMessageA(message, nullptr, 0, 0, PM_REMOVE)) {
        if (message->message == WM_QUIT) return false;
        TranslateMessage(message);
        DispatchMessageA(message);
    }
    application->renderFrame();
    SwapBuffers(deviceContext);
    frameTimer->stopFrame();
    if (GetTickCount() % kFpsRefreshTicks == 0) application->setFps(frameTimer->framesPerSecond());
    return true;
}

void closeViewer(HWND window, HDC deviceContext, HGLRC renderingContext) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderingContext);
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
}
