// Window classes and the life of a window: creation, title, default
// processing, destruction (out of the queue, the menus and the GL side).

#include <algorithm>
#include <string>
#include <strings.h>

#include <FL/Fl.H>

#include "platform/glut_startup.h"
#include "platform/linux/display.h"
#include "platform/linux/menu.h"
#include "platform/linux/queue.h"
#include "platform/linux/wgl_over_glx.h"
#include "platform/linux/widgets.h"

using namespace platform;

namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

// Atoms of registered classes start where Windows starts them.
constexpr ATOM kFirstClassAtom = 0xC000;

std::vector<WindowClass> windowClasses;

// Class names compare without regard to case, as on Windows.
const WindowClass* findClass(LPCSTR name) {
    for (const WindowClass& windowClass : windowClasses) {
        if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
    }
    return nullptr;
}

}  // namespace

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    if (findClass(windowClass->lpszClassName)) return 0;
    windowClasses.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc});
    return static_cast<ATOM>(kFirstClassAtom + windowClasses.size() - 1);
}

// WM_SIZE is sent before the call returns, as Windows does during creation.
HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* windowClass = className ? findClass(className) : nullptr;
    if (!windowClass) return nullptr;
    requireDisplay();
    // Before any GLUT geometry or font routine can run, and after the
    // display is known: glutInit would fail on a missing one in its own way.
    startGlut();
    requireOpenGlVisual();

    HWND window = new HWND__;
    window->procedure = windowClass->procedure;
    // Like Windows' minimum tracking size, keep at least one client pixel.
    int topWidth = std::max(1, width - 2 * kFrameBorder);
    int topHeight = std::max(1, height - kCaptionHeight - kFrameBorder);
    makeWidgets(window, x + kFrameBorder, y + kCaptionHeight, topWidth, topHeight, kClientAreaMode);
    window->top->copy_label(windowName ? windowName : "");
    window->top->xclass(windowClass->name.c_str());  // copied; sets the X WM_CLASS
    addLiveWindow(window);
    clientAreaChanged(window);

    if (style & WS_VISIBLE) {
        window->top->show();
        Fl::focus(window->client);
        requestToolkitPass();
    }
    return window;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    if (!isLiveWindow(window)) return FALSE;
    window->top->copy_label(text ? text : "");
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND window) {
    if (!isLiveWindow(window)) return FALSE;
    removeLiveWindow(window);
    discardMessagesFor(window);
    releaseDeviceContextOf(window);
    destroyWindowMenu(window);
    // Deleted by the toolkit once it is out of any event handling that may
    // still be using the widgets; without the window, they pass nothing on.
    window->top->user_data(nullptr);
    window->top->hide();
    Fl::delete_widget(window->top);
    requestToolkitPass();
    delete window;
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}

// Icons, cursors and brushes are never drawn: any non-null handle will do.
char anyHandle;

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) { return reinterpret_cast<HICON>(&anyHandle); }

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) { return reinterpret_cast<HCURSOR>(&anyHandle); }

HGDIOBJ WINAPI GetStockObject(int) { return &anyHandle; }
