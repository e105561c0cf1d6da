#include "app/window.h"

void createGLContext(HWND window, HDC* deviceContext, HGLRC* renderingContext) {
    *deviceContext = GetDC(window);

    // Double-buffered RGBA with 24 colour and 16 depth bits; no alpha,
    // accumulation, stencil or auxiliary buffers.
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 16;
    request.iLayerType = PFD_MAIN_PLANE;

    int format = ChoosePixelFormat(*deviceContext, &request);
    SetPixelFormat(*deviceContext, format, &request);
    *renderingContext = wglCreateContext(*deviceContext);
    wglMakeCurrent(*deviceContext, *renderingContext);
}
