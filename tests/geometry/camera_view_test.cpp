// The view the camera puts on the modelview matrix, read back from a real
// context and compared with a look-at matrix built here from the pose.
#include <gtest/gtest.h>

#include "geometry/camera.h"
#include "platform/gl.h"
#include "tests/support/test_window.h"

namespace {

// The standard look-at matrix, column-major as OpenGL returns it: rows side,
// up and -forward of the eye's frame, then the eye moved to the origin.
void lookAtMatrix(Vector3 eye, Vector3 centre, Vector3 up, double m[16]) {
    const Vector3 f = normalize(centre - eye);
    const Vector3 s = normalize(cross(f, up));
    const Vector3 u = cross(s, f);
    const Vector3 rows[3] = {s, u, -f};
    for (int row = 0; row < 3; ++row) {
        m[0 * 4 + row] = rows[row].x;
        m[1 * 4 + row] = rows[row].y;
        m[2 * 4 + row] = rows[row].z;
        m[3 * 4 + row] = -dot(rows[row], eye);
        m[row * 4 + 3] = 0.0;
    }
    m[15] = 1.0;
}

TEST(CameraView, ApplyViewReplacesModelviewWithLookAt) {
    TestWindow window;
    glMatrixMode(GL_MODELVIEW);

    struct Case {
        const char* name;
        void (*move)(Camera&);
    };
    const Case cases[] = {
        {"viewer start", [](Camera&) {}},
        {"orbited and zoomed", [](Camera& c) { c.orbit(130, -40); c.zoom(3); }},
        {"rolled, turned and panned", [](Camera& c) { c.rollRight(); c.turnLeft(); c.lookUp(); c.moveLeft(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Camera camera(Vector3(0.5, -1, 2), Vector3(1.5, 0, 7));
        c.move(camera);
        const bool moved = camera.moved;

        // Anything already on the matrix must be replaced, not multiplied.
        glLoadIdentity();
        glTranslated(3, -4, 5);
        glRotated(30, 1, 1, 0);
        camera.applyView();

        double actual[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, actual);
        double expected[16];
        lookAtMatrix(camera.position, camera.rotationPoint, camera.up, expected);
        // GLU builds the rotation part in single precision.
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(expected[i], actual[i], 1e-5) << "element " << i;
        }
        EXPECT_EQ(moved, camera.moved);
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }
}

}  // namespace
