// The bare program: what any program needs to show the viewer's scene and
// its frame-rate text, with nothing of the viewer around it. The same
// libraries, the same window and context through the same platform calls, and
// the same GPU work at start-up: GLUT, the texture, the toon and edge programs
// compiled and linked. No menu bar, no window procedure of its own, no
// Application. verrine_bench starts it as a process of its own and measures
// its start-up and memory against the viewer's.
//
// Run from the repository root, on an X display, like the viewer.

#include "app/application.h"
#include "app/window.h"
#include "bench/bare_scene.h"
#include "bench/startup_probe.h"
#include "platform/gl.h"
#include "platform/glut_startup.h"
#include "render/gl_state.h"

int main() {
    startGlut();

    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "verrine-bare";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "verrine-bare", "Verrine", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 20, 40, 500,
                                  495, nullptr, nullptr, nullptr, nullptr);
    HDC deviceContext = nullptr;
    HGLRC renderingContext = nullptr;
    createGLContext(window, &deviceContext, &renderingContext);

    // The viewer's standing state, its texture, programs, light and view.
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glClearColor(0.49f, 0.49f, 0.49f, 1.0f);
    RECT client = {};
    GetClientRect(window, &client);
    reshape(client.right, client.bottom);
    Texture texture("resources/textures/stripes.raw", 40, 40);
    ShaderSet shaderSet;
    shaderSet.loadPrograms();
    Scene scene;
    const BareView view = viewOf(Camera(Vector3(0.0, 0.0, 0.0), Vector3(1.0, 1.0, 5.0)));
    // What the viewer shows until its first rate refresh.
    const std::string text = fpsText(0.0);

    // One message a frame at most, as the viewer takes them.
    return runProbe([&] {
        MSG message = {};
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        drawBareScene(view);
        drawBareText(text);
        SwapBuffers(deviceContext);
    });
}
