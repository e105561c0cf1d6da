#include "app/application.h"

#include <algorithm>

#include "render/render_options.h"
#include "platform/win32.h"
#include "render/gl_state.h"

namespace {
// The text overlay projects onto this stored size; resizing the window
// never changes it.
constexpr int kOverlaySize = 500;
constexpr int kStripesSize = 40;
}  // namespace

Application::Application(const std::string& resources, const ShaderBuildObserver& observer,
                         SceneReader* reader) {
    // The shader set is constructed first and makes no GL call; the program
    // objects are built only once the standing GL state and the texture exist.
    std::fill(std::begin(keyStates), std::end(keyStates), false);
    fps = 0.0;
    initGL();
    loadTextures(resources, reader);
    shaderSet.loadPrograms(resources, observer, reader);
    camera = new Camera(Vector3(0.0, 0.0, 0.0), Vector3(1.0, 1.0, 5.0));
    scene = new Scene();
}

void Application::initGL() {
    width = kOverlaySize;
    height = kOverlaySize;
    initGLState(width, height);
}

void Application::loadTextures(const std::string& resources, SceneReader* reader) {
    texture = new Texture(resources + "/textures/stripes.raw", kStripesSize, kStripesSize, reader);
}

void Application::renderFrame() {
    update();
    camera->applyView();
    drawScene();
    camera->drawRotationPoint();
    drawFps();
}

void Application::drawScene() {
    clearFrame();
    setCameraPosition(shaderSet.currentProgram(), camera->position);
    scene->draw();
}

// One camera step per held pair and frame; the first key of a pair wins.
void Application::update() {
    if (isHeld('W')) camera->moveForward();
    else if (isHeld('S')) camera->moveBackward();

    if (isHeld('A')) camera->moveLeft();
    else if (isHeld('D')) camera->moveRight();

    if (isHeld('E')) camera->moveUp();
    else if (isHeld('C')) camera->moveDown();

    if (isHeld('I')) camera->lookUp();
    else if (isHeld('K')) camera->lookDown();

    if (isHeld('J')) camera->turnLeft();
    else if (isHeld('L')) camera->turnRight();

    if (isHeld('U')) camera->rollRight();
    else if (isHeld('O')) camera->rollLeft();

    // A held mode key sets its mode again in every frame.
    if (isHeld('1')) shaderSet.setMode(kFixedPipelineMode);
    else if (isHeld('2')) shaderSet.setMode(kToonMode);
    else if (isHeld('3')) shaderSet.setMode(kEdgeMode);
}

void Application::keyDown(int key) {
    if (key >= kFirstKey && key <= kLastKey) keyStates[key - kFirstKey] = true;
    if (key == VK_ESCAPE) options->quitRequested = true;
}

void Application::keyUp(int key) {
    if (key >= kFirstKey && key <= kLastKey) keyStates[key - kFirstKey] = false;
}

void Application::releaseKeys() { std::fill(std::begin(keyStates), std::end(keyStates), false); }

void Application::mouseDrag(float dx, float dy) { camera->orbit(dx, dy); }

void Application::mouseWheel(float notches) { camera->zoom(notches); }

void Application::setFps(double rate) { fps = rate; }
