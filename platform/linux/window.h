// What a window is made of on Linux, shared by the files of the platform
// layer: a toolkit top-level window holding the menu bar (once attached)
// above the OpenGL client area.
#pragma once

#include <vector>

#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>

#include "platform/win32.h"

namespace platform {

// The nominal frame of a Windows 10 window at 96 dpi. The size given to
// CreateWindowExA includes it, so the client area is smaller by these.
constexpr int kFrameBorder = 8;     // left, right and bottom
constexpr int kCaptionHeight = 31;  // above the client area (or the menu bar)
constexpr int kMenuBarHeight = 20;

class TopWindow;
class ClientView;

}  // namespace platform

struct HWND__ {
    WNDPROC procedure = nullptr;
    platform::TopWindow* top = nullptr;
    platform::ClientView* client = nullptr;
    HMENU menu = nullptr;
    Fl_Menu_Bar* menuBar = nullptr;          // present while a menu is attached
    std::vector<Fl_Menu_Item> menuItems;     // what menuBar shows
    HDC deviceContext = nullptr;             // made by the first GetDC
    bool focused = false;                    // holds the keyboard focus
    bool minimized = false;
    bool destroying = false;
    // The client size and kind last sent with WM_SIZE; -1 before the first.
    int reportedWidth = -1;
    int reportedHeight = -1;
    WPARAM reportedKind = SIZE_RESTORED;
};

namespace platform {

// The top-level toolkit window. Follows user resizes, minimising and the
// window manager's close request.
class TopWindow : public Fl_Window {
public:
    TopWindow(HWND window, int x, int y, int width, int height);
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;
    // Null once the window is destroyed: the toolkit deletes the widget
    // later and may still hand it events until then.
    HWND window() const { return window_; }
    void detach() { window_ = nullptr; }

private:
    HWND window_;
};

// The client area. The toolkit must never draw into or swap it: frames come
// only from the viewer's own loop, so an expose is ignored as Windows leaves
// WM_PAINT to the default.
class ClientView : public Fl_Gl_Window {
public:
    ClientView(HWND window, int x, int y, int width, int height);
    int handle(int event) override;
    void draw() override {}
    void flush() override {}
    void detach() { window_ = nullptr; }

private:
    HWND window_;
    LPARAM lastMove_ = -1;  // client position of the last WM_MOUSEMOVE
};

bool isLiveWindow(HWND window);

// The live window whose top-level X window this is, or null.
HWND windowWithTopLevel(unsigned long xWindow);

// Calls the window procedure at once, as Windows does for sent messages.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Places the menu bar and the client area inside the top-level window.
void layOutWindow(HWND window);

// Sends WM_SIZE when the client size or the minimised state has changed
// since the last one sent.
void reportClientSize(HWND window);

// Turns a toolkit keyboard event into WM_KEYDOWN / WM_KEYUP. Returns whether
// the event was used.
bool postKeyMessage(HWND window, int event);

// From the first window on, follows the X keyboard focus of every window
// and reports its changes with setKeyboardFocus.
void watchKeyboardFocus();

// Sends WM_SETFOCUS or WM_KILLFOCUS when the window's focus changes.
void setKeyboardFocus(HWND window, bool focused);

}  // namespace platform
