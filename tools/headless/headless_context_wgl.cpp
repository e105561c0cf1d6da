#include "tools/headless/headless_context.h"

#include "app/window.h"
#include "platform/gl.h"

namespace {

const char kWindowClass[] = "verrine-headless";

// A window class of its own: CS_OWNDC keeps one device context for the
// window's life, as the viewer's class does, and nothing is ever drawn or
// handled, so the default procedure does for every message.
bool registerWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

// The window is created without WS_VISIBLE and never shown: it only carries
// the pixel format. Every picture goes into a framebuffer object.
HeadlessContext::HeadlessContext() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerWindowClass(instance)) {
        failure_ = "cannot register a window class for the hidden window";
        return;
    }
    HWND window = CreateWindowExA(0, kWindowClass, "Verrine", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr) {
        failure_ = "cannot create a hidden window to hold the context";
        return;
    }
    window_ = window;
    HDC deviceContext = nullptr;
    HGLRC renderingContext = nullptr;
    // The viewer's own pixel format and context, made current.
    createGLContext(window, &deviceContext, &renderingContext);
    display_ = deviceContext;
    context_ = renderingContext;
    if (renderingContext == nullptr) {
        failure_ = "WGL cannot create an OpenGL context (is an OpenGL driver installed?)";
    } else if (wglGetCurrentContext() != renderingContext) {
        failure_ = "the WGL context cannot be made current";
    }
}

HeadlessContext::~HeadlessContext() {
    if (window_ == nullptr) return;
    wglMakeCurrent(nullptr, nullptr);
    if (context_ != nullptr) wglDeleteContext(static_cast<HGLRC>(context_));
    ReleaseDC(static_cast<HWND>(window_), static_cast<HDC>(display_));
    DestroyWindow(static_cast<HWND>(window_));
}
