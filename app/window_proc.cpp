// Turns window messages into calls on the Application.

#include "app/globals.h"
#include "app/window.h"
#include "render/gl_state.h"

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            // Sent during window creation too, before the Application exists.
            if (application) reshape(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
            application->keyDown(static_cast<int>(wParam));
            break;
        // A key let go while Alt is down comes as WM_SYSKEYUP; it still goes
        // on to the default processing, which handles Alt's menu keys.
        case WM_KEYUP:
        case WM_SYSKEYUP:
            application->keyUp(static_cast<int>(wParam));
            refreshMenuChecks(window);
            break;
        // The key-ups of keys held now will go to the window that takes
        // the focus, so every key counts as released. Sent at start-up and
        // shutdown too.
        case WM_KILLFOCUS:
            if (application) {
                application->releaseKeys();
                refreshMenuChecks(window);
            }
            break;
        case WM_COMMAND:
            application->menuCommand(LOWORD(wParam));
            refreshMenuChecks(window);
            break;
        case WM_MOUSEMOVE: {
            int x = LOWORD(lParam);
            int y = HIWORD(lParam);
            // Measured from the previous move, with or without the button.
            if (wParam & MK_LBUTTON) {
                application->mouseDrag(static_cast<float>(lastMouseX - x), static_cast<float>(y - lastMouseY));
            }
            lastMouseX = x;
            lastMouseY = y;
            break;
        }
        case WM_MOUSEWHEEL: {
            short delta = static_cast<short>(HIWORD(wParam));
            application->mouseWheel(static_cast<float>(delta / static_cast<double>(WHEEL_DELTA)));
            break;
        }
        default:
            break;
    }
    // Once a quit is requested every message posts another and skips the
    // default processing.
    if (options->quitRequested) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
