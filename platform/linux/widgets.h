// The toolkit widgets of a window and the input they turn into messages.
#pragma once

#include "platform/linux/window.h"

namespace platform {

// The top-level toolkit window.
class TopWindow : public Fl_Window {
public:
    TopWindow(HWND window, int x, int y, int width, int height);
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;
    // The toolkit deletes a destroyed window's widgets later, and may hand
    // them events until then; detached, they pass nothing on.
    void detach() {
        window_ = nullptr;
        user_data(nullptr);
    }

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

// Follows the X keyboard focus of every window from the first on.
void watchKeyboardFocus();

}  // namespace platform
