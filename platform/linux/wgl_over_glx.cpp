// GDI and WGL over GLX, on the window registry: device contexts, the pixel
// format, rendering contexts (plain GLX contexts on the client area's X
// window; the toolkit never makes one there) and buffer swaps.

#include <set>
#include <string>

#include <FL/x.H>
#include <GL/glx.h>

#include "platform/linux/display.h"
#include "platform/linux/wgl_over_glx.h"
#include "platform/linux/window.h"

// A window's one device context (every class behaves as CS_OWNDC).
struct HDC__ {
    HWND window = nullptr;
};

namespace platform {

namespace {

// The one pixel format: the client area's visual, made with the window.
constexpr int kClientAreaFormat = 1;

std::set<HDC> liveDeviceContexts;
std::set<HGLRC> liveContexts;
HGLRC currentContext = nullptr;

bool isLiveDeviceContext(HDC deviceContext) {
    return deviceContext && liveDeviceContexts.count(deviceContext) != 0;
}

// The X window of the client area, 0 while the window is not shown.
Window clientXWindow(HDC deviceContext) { return platform::clientXWindow(deviceContext->window); }

// The client area's visual as GLX describes it, or null; freed with XFree.
XVisualInfo* visualOf(HDC deviceContext) {
    XWindowAttributes attributes;
    Window xWindow = clientXWindow(deviceContext);
    if (!xWindow || !XGetWindowAttributes(fl_display, xWindow, &attributes)) return nullptr;
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

// Every size the descriptor asks for, against the real visual.
bool visualSatisfies(XVisualInfo* visual, const PIXELFORMATDESCRIPTOR& request) {
    int colourBits = glxValue(visual, GLX_RED_SIZE) + glxValue(visual, GLX_GREEN_SIZE) +
                     glxValue(visual, GLX_BLUE_SIZE);
    bool doubleBuffered = glxValue(visual, GLX_DOUBLEBUFFER) != 0;
    return glxValue(visual, GLX_USE_GL) && glxValue(visual, GLX_RGBA) &&
           doubleBuffered == ((request.dwFlags & PFD_DOUBLEBUFFER) != 0) && colourBits >= request.cColorBits &&
           glxValue(visual, GLX_DEPTH_SIZE) >= request.cDepthBits;
}

std::string describe(const PIXELFORMATDESCRIPTOR& request) {
    std::string text = (request.dwFlags & PFD_DOUBLEBUFFER) ? "double-buffered RGBA" : "RGBA";
    text += " OpenGL visual with " + std::to_string(request.cColorBits) + " colour and " +
            std::to_string(request.cDepthBits) + " depth bits";
    return text;
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
        window->deviceContext = new HDC__{window};
        liveDeviceContexts.insert(window->deviceContext);
    }
    return window->deviceContext;
}

// The window keeps its one device context until it is destroyed.
int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    return isLiveWindow(window) && deviceContext == window->deviceContext ? 1 : 0;
}

// A request the client area's visual cannot meet ends the program with one
// line; colour-index, bitmap, GDI-only, alpha and stencil formats are absent.
int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    if (!isLiveDeviceContext(deviceContext) || !request) return 0;
    DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (request->iPixelType != PFD_TYPE_RGBA || (request->dwFlags & needed) != needed || request->cAlphaBits ||
        request->cStencilBits) {
        return 0;
    }
    XVisualInfo* visual = visualOf(deviceContext);
    if (!visual) failPlatform("cannot choose a pixel format for a window that is not shown");
    bool satisfied = visualSatisfies(visual, *request);
    XFree(visual);
    if (!satisfied) failPlatform("the X display has no " + describe(*request));
    return kClientAreaFormat;
}

// The one format there is.
BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
    return isLiveDeviceContext(deviceContext) && format == kClientAreaFormat && request;
}

HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    if (!isLiveDeviceContext(deviceContext)) return nullptr;
    XVisualInfo* visual = visualOf(deviceContext);
    if (!visual) failPlatform("cannot create an OpenGL context for a window that is not shown");
    GLXContext context = glXCreateContext(fl_display, visual, nullptr, True);
    XFree(visual);
    if (!context) failPlatform("cannot create an OpenGL context (glXCreateContext failed)");
    // The handle is the GLX context itself.
    HGLRC handle = reinterpret_cast<HGLRC>(context);
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
    // Every client area has the one visual, so every context fits.
    Window xWindow = clientXWindow(deviceContext);
    if (!xWindow || !glXMakeCurrent(fl_display, xWindow, reinterpret_cast<GLXContext>(context))) return FALSE;
    currentContext = context;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
    if (!liveContexts.count(context)) return FALSE;
    // Windows makes a context that is current on this thread not current
    // before deleting it.
    if (context == currentContext) wglMakeCurrent(nullptr, nullptr);
    glXDestroyContext(fl_display, reinterpret_cast<GLXContext>(context));
    liveContexts.erase(context);
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    if (!isLiveDeviceContext(deviceContext)) return FALSE;
    Window xWindow = clientXWindow(deviceContext);
    if (!xWindow) return FALSE;
    glXSwapBuffers(fl_display, xWindow);
    return TRUE;
}
