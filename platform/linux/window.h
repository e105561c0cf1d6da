// The window registry: what a window is made of on Linux and which windows
// live. A toolkit top-level window holds the menu bar (once attached) above
// the OpenGL client area. The queue, the menus, the GL context and the
// toolkit widgets build on this file; it calls none of them.
#pragma once

#include <vector>

#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>

#include "platform/win32.h"

namespace platform {

// The nominal frame of a Windows 10 window at 96 dpi. The size given to
// CreateWindowExA is the outer size, as on Windows, so 500 x 495 gives a
// 484 x 456 client area, less the menu bar once SetMenu attaches one. The
// toolkit window is placed at (x + 8, y + 31); the real frame around it is
// the window manager's.
constexpr int kFrameBorder = 8;     // left, right and bottom
constexpr int kCaptionHeight = 31;  // above the client area (or the menu bar)
constexpr int kMenuBarHeight = 20;

}  // namespace platform

struct HWND__ {
    WNDPROC procedure = nullptr;
    Fl_Window* top = nullptr;
    Fl_Gl_Window* client = nullptr;
    HMENU menu = nullptr;
    Fl_Menu_Bar* menuBar = nullptr;       // present while a menu is attached
    std::vector<Fl_Menu_Item> menuItems;  // what menuBar shows
    HDC deviceContext = nullptr;          // made by the first GetDC
    bool focused = false;                 // holds the keyboard focus
    bool minimized = false;
    // The last WM_SIZE sent; none before the first.
    WPARAM reportedKind = SIZE_RESTORED;
    LPARAM reportedSize = -1;
};

namespace platform {

void addLiveWindow(HWND window);
void removeLiveWindow(HWND window);
bool isLiveWindow(HWND window);

// The live window whose top-level X window this is, or null.
HWND windowWithTopLevel(unsigned long xWindow);

// Calls the window procedure at once, as Windows does for sent messages.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The one place WM_SIZE comes from: places the menu bar and the client
// area inside the top-level window, then sends WM_SIZE if the client size
// or the minimised state changed since the last one sent.
void clientAreaChanged(HWND window);

}  // namespace platform
