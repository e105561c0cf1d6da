#include "bench/bare_scene.h"

#include "platform/gl.h"

// Each step is one of the viewer's, with no function of the viewer called:
// no option test, no uniform lookup, no frame-rate text.
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
