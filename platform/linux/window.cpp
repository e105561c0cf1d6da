// The window registry: the live windows, sent messages, the client area's
// layout and WM_SIZE.

#include "platform/linux/window.h"

#include <algorithm>
#include <set>

#include <FL/x.H>

#include "platform/linux/display.h"

namespace platform {

namespace {

std::set<HWND> liveWindows;

// A minimised window has an empty client area, as on Windows.
RECT clientRect(HWND window) {
    bool empty = window->minimized;
    return RECT{0, 0, empty ? 0 : window->client->w(), empty ? 0 : window->client->h()};
}

}  // namespace

void addLiveWindow(HWND window) { liveWindows.insert(window); }

void removeLiveWindow(HWND window) { liveWindows.erase(window); }

bool isLiveWindow(HWND window) { return window && liveWindows.count(window) != 0; }

unsigned long topLevelXWindow(HWND window) {
    return isLiveWindow(window) && window->top->shown() ? fl_xid(window->top) : 0;
}

unsigned long clientXWindow(HWND window) {
    return isLiveWindow(window) && window->client->shown() ? fl_xid(window->client) : 0;
}

HWND windowWithTopLevel(unsigned long xWindow) {
    for (HWND window : liveWindows) {
        if (xWindow && topLevelXWindow(window) == xWindow) return window;
    }
    return nullptr;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window->procedure(window, message, wParam, lParam);
}

void clientAreaChanged(HWND window) {
    int width = window->top->w();
    int bar = window->menuBar ? kMenuBarHeight : 0;
    if (window->menuBar) window->menuBar->resize(0, 0, width, bar);
    window->client->resize(0, bar, width, std::max(1, window->top->h() - bar));

    RECT client = clientRect(window);
    WPARAM kind = window->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
    LPARAM size = MAKELPARAM(client.right, client.bottom);
    if (size == window->reportedSize && kind == window->reportedKind) return;
    window->reportedSize = size;
    window->reportedKind = kind;
    sendMessage(window, WM_SIZE, kind, size);
}

}  // namespace platform

using namespace platform;

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    if (!isLiveWindow(window) || !rect) return FALSE;
    *rect = clientRect(window);
    return TRUE;
}
