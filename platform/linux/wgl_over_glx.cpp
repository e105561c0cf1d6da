// GDI and WGL over GLX: the device context of a window, its pixel format,
// rendering contexts and buffer swaps. The toolkit never makes a context of
// its own for the client area (it never draws there); the contexts here are
// plain GLX contexts on the client area's X window and visual. Builds on the
// window registry.

#include <set>
#include <string>

#include <FL/x.H>
#include <GL/glx.h>

#include "platform/linux/display.h"
#include "platform/linux/wgl_over_glx.h"
#include "platform/linux/window.h"
#include "platform/linux/x_windows.h"

// A window's one device context (every class behaves as CS_OWNDC). The
// pixel format is the toolkit mode plus one, so that 0 stays "none".
struct HDC__ {
    HWND window = nullptr;
    int format = 0;
};

struct HGLRC__ {
    GLXContext context = nullptr;
    VisualID visual = 0;
};

namespace platform {

namespace {

std::set<HDC> liveDeviceContexts;
std::set<HGLRC> liveContexts;
HGLRC currentContext = nullptr;

bool isLiveDeviceContext(HDC deviceContext) {
    return deviceContext && liveDeviceContexts.count(deviceContext) != 0;
}

// The X window of the client area, 0 while the window is not shown.
Window clientXWindow(HDC deviceContext) { return platform::clientXWindow(deviceContext->window); }

std::string describe(const PIXELFORMATDESCRIPTOR& request) {
    std::string text = (request.dwFlags & PFD_DOUBLEBUFFER) ? "double-buffered RGBA" : "RGBA";
    text += " OpenGL visual with " + std::to_string(request.cColorBits) + " colour and " +
            std::to_string(request.cDepthBits) + " depth bits";
    if (request.cAlphaBits) text += ", " + std::to_string(request.cAlphaBits) + " alpha bits";
    if (request.cStencilBits) text += ", " + std::to_string(request.cStencilBits) + " stencil bits";
    return text;
}

int toolkitModeFor(const PIXELFORMATDESCRIPTOR& request) {
    int mode = FL_RGB;
    if (request.cColorBits > 16) mode |= FL_RGB8;
    if (request.dwFlags & PFD_DOUBLEBUFFER) mode |= FL_DOUBLE;
    if (request.cDepthBits) mode |= FL_DEPTH;
    if (request.cAlphaBits) mode |= FL_ALPHA;
    if (request.cStencilBits) mode |= FL_STENCIL;
    return mode;
}

// The visual of the client area's X window as GLX describes it. The caller
// frees it with XFree.
XVisualInfo* visualOf(Window xWindow) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(fl_display, xWindow, &attributes)) return nullptr;
    XVisualInfo pattern = {};
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    return XGetVisualInfo(fl_display, VisualIDMask, &pattern, &count);
}

int glxValue(XVisualInfo* visual, int attribute) {
    int value = 0;
    glXGetConfig(fl_display, visual, attribute, &value);
    return value;
}

// The toolkit's mode flags promise "at least one bit" of depth and so on;
// check the real visual against every size the descriptor asked for.
bool visualSatisfies(XVisualInfo* visual, const PIXELFORMATDESCRIPTOR& request) {
    int colourBits = glxValue(visual, GLX_RED_SIZE) + glxValue(visual, GLX_GREEN_SIZE) +
                     glxValue(visual, GLX_BLUE_SIZE);
    bool doubleBuffered = glxValue(visual, GLX_DOUBLEBUFFER) != 0;
    return glxValue(visual, GLX_USE_GL) && glxValue(visual, GLX_RGBA) &&
           doubleBuffered == ((request.dwFlags & PFD_DOUBLEBUFFER) != 0) &&
           colourBits >= request.cColorBits && glxValue(visual, GLX_ALPHA_SIZE) >= request.cAlphaBits &&
           glxValue(visual, GLX_DEPTH_SIZE) >= request.cDepthBits &&
           glxValue(visual, GLX_STENCIL_SIZE) >= request.cStencilBits;
}

}  // namespace

void requireOpenGlVisual() {
    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(fl_display, &errorBase, &eventBase)) {
        failPlatform("the X display has no OpenGL support (GLX is missing)");
    }
    if (!Fl_Gl_Window::can_do(kClientAreaMode)) {
        failPlatform("the X display has no double-buffered RGBA OpenGL visual with a depth buffer");
    }
}

void releaseDeviceContextOf(HWND window) {
    if (!window->deviceContext) return;
    liveDeviceContexts.erase(window->deviceContext);
    delete window->deviceContext;
    window->deviceContext = nullptr;
}

}  // namespace platform

using namespace platform;

HDC WINAPI GetDC(HWND window) {
    if (!isLiveWindow(window)) return nullptr;
    if (!window->deviceContext) {
        window->deviceContext = new HDC__;
        window->deviceContext->window = window;
        liveDeviceContexts.insert(window->deviceContext);
    }
    return window->deviceContext;
}

// The window keeps its one device context until it is destroyed.
int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    return isLiveWindow(window) && deviceContext == window->deviceContext ? 1 : 0;
}

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    if (!isLiveDeviceContext(deviceContext) || !request) return 0;
    // Colour-index, bitmap and GDI-only formats do not exist here.
    DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (request->iPixelType != PFD_TYPE_RGBA || (request->dwFlags & needed) != needed) return 0;
    int mode = toolkitModeFor(*request);
    if (!Fl_Gl_Window::can_do(mode)) failPlatform("the X display has no " + describe(*request));
    return mode + 1;
}

BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
    if (!isLiveDeviceContext(deviceContext) || format < 1 || !request) return FALSE;
    // As on Windows a window's pixel format is set once.
    if (deviceContext->format) return format == deviceContext->format;
    Fl_Gl_Window* client = deviceContext->window->client;
    if (!Fl_Gl_Window::can_do(format - 1)) return FALSE;
    // Recreates the client area's X window only if the visual changes.
    client->mode(format - 1);
    if (Window xWindow = clientXWindow(deviceContext)) {
        XVisualInfo* visual = visualOf(xWindow);
        bool satisfied = visual && visualSatisfies(visual, *request);
        if (visual) XFree(visual);
        if (!satisfied) failPlatform("the X display has no " + describe(*request));
    }
    deviceContext->format = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    if (!isLiveDeviceContext(deviceContext) || !deviceContext->format) return nullptr;
    Window xWindow = clientXWindow(deviceContext);
    if (!xWindow) failPlatform("cannot create an OpenGL context for a window that is not shown");
    XVisualInfo* visual = visualOf(xWindow);
    if (!visual) failPlatform("cannot read the visual of the OpenGL window");
    GLXContext context = glXCreateContext(fl_display, visual, nullptr, True);
    VisualID visualId = visual->visualid;
    XFree(visual);
    if (!context) failPlatform("cannot create an OpenGL context (glXCreateContext failed)");
    HGLRC handle = new HGLRC__{context, visualId};
    liveContexts.insert(handle);
    return handle;
}

BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC context) {
    if (!context) {
        if (fl_display) glXMakeCurrent(fl_display, None, nullptr);
        currentContext = nullptr;
        return TRUE;
    }
    if (!isLiveDeviceContext(deviceContext) || !liveContexts.count(context)) return FALSE;
    Window xWindow = clientXWindow(deviceContext);
    if (!xWindow) return FALSE;
    // A context only fits windows of its own visual; GLX would raise an
    // asynchronous X error where Windows fails the call.
    XVisualInfo* visual = visualOf(xWindow);
    bool fits = visual && visual->visualid == context->visual;
    if (visual) XFree(visual);
    if (!fits || !glXMakeCurrent(fl_display, xWindow, context->context)) return FALSE;
    currentContext = context;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
    if (!liveContexts.count(context)) return FALSE;
    // Windows makes a context that is current on this thread not current
    // before deleting it.
    if (context == currentContext) wglMakeCurrent(nullptr, nullptr);
    glXDestroyContext(fl_display, context->context);
    liveContexts.erase(context);
    delete context;
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    if (!isLiveDeviceContext(deviceContext)) return FALSE;
    Window xWindow = clientXWindow(deviceContext);
    if (!xWindow) return FALSE;
    glXSwapBuffers(fl_display, xWindow);
    return TRUE;
}
