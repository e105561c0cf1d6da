// The one object that holds the viewer's state and composes each frame.
#pragma once

#include <string>

#include "geometry/camera.h"
#include "render/scene.h"
#include "render/texture.h"
#include "shaders/shader_set.h"

class Application {
public:
    // Held keys are recorded for virtual-key codes 48 ('0') to 89 ('Y').
    static constexpr int kFirstKey = 48;
    static constexpr int kLastKey = 89;
    static constexpr int kKeyCount = kLastKey - kFirstKey + 1;

    // Needs the OpenGL context current: builds the GL state, the texture,
    // the shader programs, the camera and the scene, in that order. The data
    // is read from `resources`, through `reader` when one is given
    // (render/scene_reader.h); an observer is told about each shader program
    // built (shaders/shader_build.h). The viewer takes the defaults.
    explicit Application(const std::string& resources = kResourcesFolder,
                         const ShaderBuildObserver& observer = nullptr, SceneReader* reader = nullptr);

    void renderFrame();
    void update();
    void keyDown(int key);
    void keyUp(int key);
    void releaseKeys();
    void mouseDrag(float dx, float dy);
    void mouseWheel(float notches);
    void menuCommand(int commandId);
    void setFps(double rate);

    void drawFps();
    void beginOverlay();
    void drawText(int x, int y, std::string text);

    void initGL();
    void loadTextures(const std::string& resources = kResourcesFolder, SceneReader* reader = nullptr);
    void drawScene();

    ShaderSet shaderSet;
    Scene* scene = nullptr;       // owned, never destroyed
    Texture* texture = nullptr;   // owned, never destroyed
    Camera* camera = nullptr;     // owned, never destroyed
    int width = 0;
    int height = 0;
    double fps = 0.0;
    // The text drawFps drew last and the rate it was made from.
    std::string fpsLabel;
    double fpsLabelRate = 0.0;
    bool keyStates[kKeyCount] = {};

private:
    bool isHeld(int key) const { return keyStates[key - kFirstKey]; }
};

// "FPS: " followed by the first six characters of the rate written with an
// output stream's default formatting.
std::string fpsText(double rate);
