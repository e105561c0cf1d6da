// The scene's content and the order in which each frame draws it.
#include "render/scene.h"

#include "platform/gl.h"

namespace {

constexpr float kObjectGrey = 0.6f;
constexpr double kObjectSize = 0.5;

void drawCube() {
    glPushMatrix();
    // Half the edge up, so the cube stands on the plane y = 0.
    glTranslatef(0.5f, 0.25f, 0.0f);
    glutSolidCube(kObjectSize);
    glPopMatrix();
}

void drawTeapot() {
    glPushMatrix();
    glTranslatef(-0.5f, 0.38f, 0.0f);
    // The stripes texture stays bound from loading on; texturing is switched
    // on only here so that nothing else picks up the teapot's coordinates.
    glEnable(GL_TEXTURE_2D);
    glutSolidTeapot(kObjectSize);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

}  // namespace

// The light is positional, at (1, 1, 2); its diffuse and specular colours
// and the material keep OpenGL's defaults.
Scene::Scene()
    : light(new Light(GL_LIGHT0, 1.0f, 1.0f, 2.0f, 1.0f)),
      ambient{0.4f, 0.4f, 0.4f, 1.0f},
      rotationAngle(0.0f) {
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
}

void Scene::draw() {
    light->apply();
    glPushMatrix();
    applyRotation();
    glColor3f(kObjectGrey, kObjectGrey, kObjectGrey);
    drawCube();
    drawTeapot();
    // Inside the rotation: the grid and the axis lines turn with the objects.
    drawBasePlane();
    drawAxis();
    glPopMatrix();
}
