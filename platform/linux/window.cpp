// Window classes and windows: creation with the messages Windows sends
// during it, layout of the nominal frame, destruction, default processing.

#include <algorithm>
#include <set>
#include <strings.h>

#include <FL/Fl.H>
#include <FL/x.H>

#include "platform/glut_startup.h"
#include "platform/linux/display.h"
#include "platform/linux/wgl_over_glx.h"
#include "platform/linux/menu.h"
#include "platform/linux/queue.h"
#include "platform/linux/window.h"
#include "platform/linux/x_windows.h"

namespace platform {

namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

// Atoms of registered classes start where Windows starts them.
constexpr ATOM kFirstClassAtom = 0xC000;

std::vector<WindowClass> windowClasses;
std::set<HWND> liveWindows;

// Class names compare without regard to case, as on Windows.
const WindowClass* findClass(LPCSTR name) {
    for (const WindowClass& windowClass : windowClasses) {
        if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
    }
    return nullptr;
}

int menuHeight(HWND window) { return window->menuBar ? kMenuBarHeight : 0; }

// A minimised window has an empty client area, as on Windows.
RECT clientRect(HWND window) {
    bool empty = window->minimized;
    return RECT{0, 0, empty ? 0 : window->client->w(), empty ? 0 : window->client->h()};
}

// The close box (WM_DELETE_WINDOW) reaches the window callback, and so does
// Escape when no widget takes it; only the first means WM_CLOSE. Queued with
// the input, as Windows sends WM_CLOSE while it handles the click on the
// close box.
void onWindowCallback(Fl_Widget* widget, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    HWND window = static_cast<TopWindow*>(widget)->window();
    if (window) postInputMessage(window, WM_CLOSE, 0, 0);
}

}  // namespace

TopWindow::TopWindow(HWND window, int x, int y, int width, int height)
    : Fl_Window(x, y, width, height), window_(window) {}

int TopWindow::handle(int event) {
    if (!window_) return Fl_Window::handle(event);
    switch (event) {
        case FL_KEYDOWN:
        case FL_KEYUP:
            // Reached when the focus is not on the client area.
            if (postKeyMessage(window_, event)) return 1;
            break;
        case FL_HIDE:
            // The window manager unmaps a window it minimises.
            window_->minimized = true;
            reportClientSize(window_);
            break;
        case FL_SHOW:
            if (window_->minimized) {
                window_->minimized = false;
                reportClientSize(window_);
            }
            break;
        default:
            break;
    }
    return Fl_Window::handle(event);
}

void TopWindow::resize(int x, int y, int width, int height) {
    Fl_Window::resize(x, y, width, height);
    if (!window_) return;
    layOutWindow(window_);
    reportClientSize(window_);
}

unsigned long topLevelXWindow(HWND window) {
    return isLiveWindow(window) && window->top->shown() ? fl_xid(window->top) : 0;
}

unsigned long clientXWindow(HWND window) {
    return isLiveWindow(window) && window->client->shown() ? fl_xid(window->client) : 0;
}

bool isLiveWindow(HWND window) { return window && liveWindows.count(window) != 0; }

HWND windowWithTopLevel(unsigned long xWindow) {
    for (HWND window : liveWindows) {
        if (xWindow && topLevelXWindow(window) == xWindow) return window;
    }
    return nullptr;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window->procedure(window, message, wParam, lParam);
}

void layOutWindow(HWND window) {
    int width = window->top->w();
    int height = window->top->h();
    int bar = menuHeight(window);
    if (window->menuBar) window->menuBar->resize(0, 0, width, bar);
    window->client->resize(0, bar, width, std::max(1, height - bar));
}

void reportClientSize(HWND window) {
    RECT client = clientRect(window);
    WPARAM kind = window->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
    if (client.right == window->reportedWidth && client.bottom == window->reportedHeight &&
        kind == window->reportedKind) {
        return;
    }
    window->reportedWidth = client.right;
    window->reportedHeight = client.bottom;
    window->reportedKind = kind;
    sendMessage(window, WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
}

}  // namespace platform

using namespace platform;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    if (findClass(windowClass->lpszClassName)) return 0;
    windowClasses.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc});
    return static_cast<ATOM>(kFirstClassAtom + windowClasses.size() - 1);
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* windowClass = className ? findClass(className) : nullptr;
    if (!windowClass) return nullptr;
    requireDisplay();
    // Before any GLUT geometry or font routine can run, and after the
    // display is known: glutInit would fail on a missing one in its own way.
    startGlut();
    requireOpenGlVisual();
    watchKeyboardFocus();

    HWND window = new HWND__;
    window->procedure = windowClass->procedure;

    // Like Windows' minimum tracking size, keep at least one client pixel.
    int topWidth = std::max(1, width - 2 * kFrameBorder);
    int topHeight = std::max(1, height - kCaptionHeight - kFrameBorder);
    window->top = new TopWindow(window, x + kFrameBorder, y + kCaptionHeight, topWidth, topHeight);
    window->client = new ClientView(window, 0, 0, topWidth, topHeight);
    window->client->mode(kClientAreaMode);
    window->top->end();
    window->top->resizable(window->client);
    window->top->copy_label(windowName ? windowName : "");
    window->top->xclass(windowClass->name.c_str());  // copied; sets the X WM_CLASS
    window->top->callback(onWindowCallback);
    liveWindows.insert(window);

    // WM_CREATE carries no CREATESTRUCT here (lParam 0); -1 refuses the
    // window as on Windows.
    if (sendMessage(window, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    reportClientSize(window);

    if (style & WS_VISIBLE) {
        window->top->show();
        Fl::focus(window->client);
        requestToolkitPass();
    }
    return window;
}

BOOL WINAPI DestroyWindow(HWND window) {
    if (!isLiveWindow(window) || window->destroying) return FALSE;
    window->destroying = true;
    sendMessage(window, WM_DESTROY, 0, 0);
    sendMessage(window, WM_NCDESTROY, 0, 0);

    liveWindows.erase(window);
    discardMessagesFor(window);
    releaseDeviceContextOf(window);
    destroyWindowMenu(window);
    // Deleted by the toolkit once it is out of any event handling that may
    // still be using the widgets.
    window->top->detach();
    window->client->detach();
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

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    if (!isLiveWindow(window) || !rect) return FALSE;
    *rect = clientRect(window);
    return TRUE;
}

// The title shows in the window manager's caption, as the X window's name.
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    if (!isLiveWindow(window)) return FALSE;
    window->top->copy_label(text ? text : "");
    requestToolkitPass();
    return TRUE;
}

// Icons, cursors and brushes are never drawn here; any non-null handle will
// do for the class record.
HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) {
    static char icon;
    return reinterpret_cast<HICON>(&icon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    static char cursor;
    return reinterpret_cast<HCURSOR>(&cursor);
}

HGDIOBJ WINAPI GetStockObject(int) {
    static char stockObject;
    return &stockObject;
}
