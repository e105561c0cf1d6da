// What the viewer shows: one light, a grey cube and the striped teapot, plus
// the debug overlays drawn from fixed points inside the scene's draw.
#pragma once

#include "render/light.h"

class Scene {
public:
    Scene();

    void draw();
    void applyRotation();
    void drawBasePlane();
    void drawAxis();

    Light* light;          // owned; lives as long as the process
    float ambient[4];
    float rotationAngle;   // degrees about +y, advanced while "Rotate Scene" is on
};
