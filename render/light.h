// One fixed-function OpenGL light and its debug marker.
#pragma once

#include "geometry/vector3.h"
#include "platform/gl.h"

class Light {
public:
    Light(GLenum id, float x, float y, float z, float w);

    // Sets the light's position under the current (view) matrix, then draws
    // the light-location marker when that option is on.
    void apply();
    // A yellow cross at the light's world position, while "Show Light
    // Locations" is on; hidden by objects in front of it.
    void drawLocationMarker();

    Vector3 position;
    float glPosition[4];
    GLenum id;
};
