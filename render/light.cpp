// The scene's fixed-function light.
#include "render/light.h"

Light::Light(GLenum id, float x, float y, float z, float w)
    : position(x, y, z), glPosition{x, y, z, w}, id(id) {
    glEnable(id);
}

void Light::apply() {
    // Set under the camera's view matrix alone, before the scene rotation, so
    // the light stays fixed in the world while the scene turns.
    glLightfv(id, GL_POSITION, glPosition);
    drawLocationMarker();
}
