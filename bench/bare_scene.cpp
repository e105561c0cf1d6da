#include "bench/bare_scene.h"

#include "geometry/camera.h"
#include "platform/gl.h"

namespace {
// The overlay's extent, whatever the window's size.
constexpr double kOverlaySize = 500.0;
}  // namespace

BareView viewOf(const Camera& camera) {
    return {{camera.position.x, camera.position.y, camera.position.z},
            {camera.rotationPoint.x, camera.rotationPoint.y, camera.rotationPoint.z},
            {camera.up.x, camera.up.y, camera.up.z}};
}

// Each step is one of the viewer's, with no function of the viewer called:
// no option test, no uniform lookup.
void drawBareScene(const BareView& view) {
    // The camera's view.
    glLoadIdentity();
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1],
              view.target[2], view.up[0], view.up[1], view.up[2]);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The positional light at (1, 1, 2), set under the view matrix alone.
    const GLfloat lightPosition[4] = {1.0f, 1.0f, 2.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);

    glPushMatrix();
    glColor3f(0.6f, 0.6f, 0.6f);

    glPushMatrix();
    glTranslatef(0.5f, 0.25f, 0.0f);
    glutSolidCube(0.5);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-0.5f, 0.38f, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glutSolidTeapot(0.5);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    // The base-plane grid: 11 unlit lines each way from -2 to 2.
    glDisable(GL_LIGHTING);
    glColor4f(0.37f, 0.37f, 0.37f, 1.0f);
    glBegin(GL_LINES);
    for (int i = 0; i < 11; ++i) {
        const float x = static_cast<float>((i - 5) / 10.0 * 2.0 * 2.0);
        glVertex3f(x, 0.0f, -2.0f);
        glVertex3f(x, 0.0f, 2.0f);
    }
    for (int i = 0; i < 11; ++i) {
        const float z = static_cast<float>((i - 5) / 10.0 * 2.0 * 2.0);
        glVertex3f(-2.0f, 0.0f, z);
        glVertex3f(2.0f, 0.0f, z);
    }
    glEnd();
    glEnable(GL_LIGHTING);

    glPopMatrix();
}

// Only the GL calls: the caller formats the text once, not every frame.
void drawBareText(const std::string& text) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, kOverlaySize, 0.0, kOverlaySize, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(10.0f, 10.0f);
    for (char character : text) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, character);
    glEnable(GL_LIGHTING);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
