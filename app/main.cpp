// The entry point: the window, its OpenGL context and the frame loop.

#include "app/viewer.h"
#include "app/window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND window = openViewerWindow(instance);

    HDC deviceContext = nullptr;
    HGLRC renderingContext = nullptr;
    createGLContext(window, &deviceContext, &renderingContext);
    startViewer(window);

    MSG message = {};
    while (runFrame(deviceContext, &message)) {
    }

    closeViewer(window, deviceContext, renderingContext);
    return static_cast<int>(message.wParam);
}
