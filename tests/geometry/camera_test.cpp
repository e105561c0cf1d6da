// The camera's poses after reset, zoom, orbit, the key-driven steps and
// construction, checked against the known numbers of each motion.
#include <cfloat>
#include <cmath>

#include <gtest/gtest.h>

#include "geometry/camera.h"
#include "tests/geometry/expect_vector.h"

namespace {

// The default distance as the camera holds it: 1.732 in single precision.
const double kDefaultDistance = 1.7319999933242798;
const Vector3 kDefaultEye(0, 0, 1.732);

Camera defaultCamera() {
    Camera camera(Vector3(0, 0, 0), Vector3(1, 1, 5));
    camera.reset();
    return camera;
}

bool isFinite(Vector3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Eye, rotation point and distance agree, and the view frame is
// orthonormal and right-handed.
void expectConsistentPose(const Camera& camera, Vector3 rotationPoint) {
    for (Vector3 v : {camera.forward, camera.up, camera.right, camera.orbitBack, camera.orbitUp,
                      camera.orbitLeft, camera.position, camera.rotationPoint}) {
        ASSERT_TRUE(isFinite(v));
    }
    ASSERT_TRUE(std::isfinite(camera.distance));
    expectVector(rotationPoint, camera.rotationPoint, 1e-12);
    EXPECT_NEAR(camera.distance, distance(camera.position, rotationPoint), 1e-5);
    expectVector(rotationPoint - camera.distance * camera.forward, camera.position, 1e-5);
    EXPECT_NEAR(1.0, dot(camera.forward, camera.forward), 1e-9);
    EXPECT_NEAR(1.0, dot(camera.up, camera.up), 1e-9);
    EXPECT_NEAR(0.0, dot(camera.forward, camera.up), 1e-9);
    expectVector(cross(camera.forward, camera.up), camera.right, 1e-9);
}

void expectDefaultOrbitFrame(const Camera& camera) {
    expectVector({0, 0, 1}, camera.orbitBack, 0);
    expectVector({0, 1, 0}, camera.orbitUp, 0);
    expectVector({-1, 0, 0}, camera.orbitLeft, 0);
}

TEST(Camera, ResetGivesDefaultPoseAndKeepsMoved) {
    Camera camera(Vector3(3, -2, 1), Vector3(7, 7, 7));
    camera.moved = true;
    camera.reset();
    // The literal 1.732, while the distance is its float.
    expectVector(kDefaultEye, camera.position, 0);
    expectVector({0, 0, 0}, camera.rotationPoint, 0);
    EXPECT_EQ(kDefaultDistance, camera.distance);
    expectVector({0, 0, -1}, camera.forward, 0);
    expectVector({0, 1, 0}, camera.up, 0);
    expectVector({1, 0, 0}, camera.right, 0);
    expectDefaultOrbitFrame(camera);
    EXPECT_EQ(0.0f, camera.yaw);
    EXPECT_EQ(0.0f, camera.pitch);
    EXPECT_TRUE(camera.moved);
}

TEST(Camera, ZoomScalesDistanceWithFloor) {
    struct Case {
        float wheelSteps;
        double distance;
        double tolerance;
    };
    const Case cases[] = {
        {1, 1.6454, 1e-5},
        {-1, 1.8186, 1e-5},
        {20, 0.1f, 0},  // 1.732 - 20 * 0.05 * 1.732 is below the floor
        {0, kDefaultDistance, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wheelSteps);
        Camera camera = defaultCamera();
        camera.zoom(c.wheelSteps);
        EXPECT_NEAR(c.distance, camera.distance, c.tolerance);
        // Even a zero step re-derives the eye from the float distance.
        expectVector({0, 0, camera.distance}, camera.position, 0);
        expectVector({0, 0, 0}, camera.rotationPoint, 0);
        EXPECT_TRUE(camera.moved);
    }
}

// Zooming out without end stops at the largest float instead of reaching
// infinity, so zooming back in still works.
TEST(Camera, ZoomOutStopsShortOfInfinity) {
    Camera camera = defaultCamera();
    for (int i = 0; i < 2000; ++i) {
        camera.zoom(-1);
    }
    EXPECT_EQ(FLT_MAX, camera.distance);
    camera.zoom(1);
    EXPECT_LT(camera.distance, FLT_MAX);
    expectConsistentPose(camera, Vector3(0, 0, 0));
}

TEST(Camera, OrbitFromDefaultPose) {
    const double d = kDefaultDistance;
    struct Case {
        float yaw, pitch;
        Vector3 position, forward, up, right;
        double tolerance;
    };
    const Case cases[] = {
        // Quarter and full turns land exactly on the axes.
        {90, 0, {d, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}, 0},
        {0, 90, {0, d, 0}, {0, -1, 0}, {0, 0, -1}, {1, 0, 0}, 0},
        {360, 0, {0, 0, d}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}, 0},
        {0, 0, {0, 0, d}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}, 1e-12},
        // Dragging right (negative yaw) swings the eye to -x; dragging down
        // (positive pitch) raises it.
        {-1, 0, {-0.030228, 0, 1.731736}, {0.017452, 0, -0.999848}, {0, 1, 0},
         {0.999848, 0, 0.017452}, 1e-5},
        {0, 1, {0, 0.030228, 1.731736}, {0, -0.017452, -0.999848}, {0, 0.999848, -0.017452},
         {1, 0, 0}, 1e-5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "orbit(" << c.yaw << ", " << c.pitch << ")");
        Camera camera = defaultCamera();
        camera.orbit(c.yaw, c.pitch);
        expectVector(c.position, camera.position, c.tolerance);
        expectVector(c.forward, camera.forward, c.tolerance);
        expectVector(c.up, camera.up, c.tolerance);
        expectVector(c.right, camera.right, c.tolerance);
        EXPECT_EQ(c.yaw, camera.yaw);
        EXPECT_EQ(c.pitch, camera.pitch);
        expectDefaultOrbitFrame(camera);
        EXPECT_TRUE(camera.moved);
    }
}

// The angles accumulate and each orbit starts again from the orbit frame,
// so two half steps land exactly where one whole step does.
TEST(Camera, OrbitAnglesAreAbsolute) {
    Camera camera = defaultCamera();
    camera.orbit(45, 30);
    camera.orbit(45, -30);
    EXPECT_EQ(90.0f, camera.yaw);
    EXPECT_EQ(0.0f, camera.pitch);
    expectVector({kDefaultDistance, 0, 0}, camera.position, 0);
    expectVector({-1, 0, 0}, camera.forward, 0);
}

TEST(Camera, KeyTurnsKeepEyeAndSurviveAnOrbit) {
    struct Case {
        const char* name;
        void (Camera::*turn)();
        Vector3 forward, up, right, rotationPoint;
    };
    const double s = 0.034899, c = 0.999391, ahead = 0.060446, drop = 0.001055;
    const Case cases[] = {
        {"turnLeft", &Camera::turnLeft, {-s, 0, -c}, {0, 1, 0}, {c, 0, -s}, {-ahead, 0, drop}},
        {"turnRight", &Camera::turnRight, {s, 0, -c}, {0, 1, 0}, {c, 0, s}, {ahead, 0, drop}},
        {"lookUp", &Camera::lookUp, {0, s, -c}, {0, c, s}, {1, 0, 0}, {0, ahead, drop}},
        {"lookDown", &Camera::lookDown, {0, -s, -c}, {0, c, -s}, {1, 0, 0}, {0, -ahead, drop}},
        {"rollRight", &Camera::rollRight, {0, 0, -1}, {s, c, 0}, {c, -s, 0}, {0, 0, 0}},
        {"rollLeft", &Camera::rollLeft, {0, 0, -1}, {-s, c, 0}, {c, s, 0}, {0, 0, 0}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        Camera camera = defaultCamera();
        camera.moved = false;
        (camera.*t.turn)();
        expectVector(kDefaultEye, camera.position, 0);
        expectVector(t.forward, camera.forward, 1e-5);
        expectVector(t.up, camera.up, 1e-5);
        expectVector(t.right, camera.right, 1e-5);
        expectVector(t.rotationPoint, camera.rotationPoint, 1e-5);
        EXPECT_EQ(kDefaultDistance, camera.distance);
        EXPECT_TRUE(camera.moved);
        // The orbit frame turned with the view, so an orbit by nothing
        // rebuilds the same view instead of snapping back.
        expectVector(-camera.forward, camera.orbitBack, 1e-12);
        expectVector(camera.up, camera.orbitUp, 1e-12);
        expectVector(-camera.right, camera.orbitLeft, 1e-12);
        const Camera before = camera;
        camera.orbit(0, 0);
        expectVector(before.position, camera.position, 1e-6);
        expectVector(before.forward, camera.forward, 1e-12);
        expectVector(before.up, camera.up, 1e-12);
        expectVector(before.right, camera.right, 1e-12);
        expectVector(before.rotationPoint, camera.rotationPoint, 1e-12);
    }
}

TEST(Camera, PanMovesEyeAndRotationPointTogether) {
    struct Case {
        const char* name;
        void (Camera::*pan)();
        Vector3 direction;
    };
    const Case cases[] = {
        {"moveForward", &Camera::moveForward, {0, 0, -1}},
        {"moveBackward", &Camera::moveBackward, {0, 0, 1}},
        {"moveLeft", &Camera::moveLeft, {-1, 0, 0}},
        {"moveRight", &Camera::moveRight, {1, 0, 0}},
        {"moveUp", &Camera::moveUp, {0, 1, 0}},
        {"moveDown", &Camera::moveDown, {0, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Camera camera = defaultCamera();
        camera.moved = false;
        (camera.*c.pan)();
        expectVector(kDefaultEye + 0.03 * c.direction, camera.position, 1e-8);
        expectVector(0.03 * c.direction, camera.rotationPoint, 1e-8);
        // A pan, not a zoom: distance and frames stay.
        EXPECT_EQ(kDefaultDistance, camera.distance);
        expectVector({0, 0, -1}, camera.forward, 0);
        expectVector({0, 1, 0}, camera.up, 0);
        expectVector({1, 0, 0}, camera.right, 0);
        EXPECT_TRUE(camera.moved);
    }
}

TEST(Camera, TurnOrbitFrameLeavesMovedAlone) {
    Camera camera(Vector3(0, 0, 0), Vector3(1, 1, 5));
    EXPECT_FALSE(camera.moved);
    camera.turnOrbitFrame(camera.up, 10);
    EXPECT_FALSE(camera.moved);
    // The eye stays; the rotation point is `distance` ahead of it.
    expectVector(camera.position + camera.distance * camera.forward, camera.rotationPoint, 0);
}

TEST(Camera, ConstructionFromViewerStart) {
    Camera camera(Vector3(0, 0, 0), Vector3(1, 1, 5));
    EXPECT_EQ(5.196152210235596, camera.distance);  // sqrt(27) as a float
    EXPECT_EQ(11.309932708740234f, camera.yaw);
    EXPECT_EQ(11.309932708740234f, camera.pitch);
    // Near the wanted eye, not on it: the pitch is measured between y-z
    // projections, not as the true elevation.
    expectVector({0.99926, 1.01905, 4.99630}, camera.position, 1e-5);
    expectVector({-0.19231, -0.19612, -0.96154}, camera.forward, 1e-5);
    expectVector({-0.03846, 0.98058, -0.19231}, camera.up, 1e-5);
    expectVector({0.98058, 0, -0.19612}, camera.right, 1e-5);
    expectVector({0, 0, 0}, camera.rotationPoint, 0);
    expectDefaultOrbitFrame(camera);
    EXPECT_FALSE(camera.moved);
}

// Other starts, including those where a direction vanishes (straight above,
// level in z, on the rotation point itself): always a valid pose, never NaN.
TEST(Camera, ConstructionFromOtherStarts) {
    const double root5 = 2.2360680103302002;  // sqrt(5) as a float
    struct Case {
        const char* name;
        Vector3 rotationPoint, eye;
        Vector3 expectedEye;
        double tolerance;
    };
    const Case cases[] = {
        {"shifted rotation point", {1, 2, 3}, {2, 3, 8}, {1.99926, 3.01905, 7.99630}, 1e-5},
        {"straight behind", {0, 0, 0}, {0, 0, 5}, {0, 0, 5}, 1e-12},
        {"lower and left, mirrored", {0, 0, 0}, {-1, -1, 5}, {0.99926, 1.01905, 4.99630}, 1e-5},
        {"straight above", {0, 0, 0}, {0, 5, 0}, {0, 5, 0}, 1e-12},
        {"straight below, mirrored", {0, 0, 0}, {0, -5, 0}, {0, 5, 0}, 1e-12},
        {"beside at the same z", {0, 0, 0}, {5, 0, 0}, {5, 0, 0}, 1e-12},
        {"beside on -x, mirrored", {0, 0, 0}, {-5, 0, 0}, {5, 0, 0}, 1e-12},
        {"raised at the same z", {0, 0, 0}, {2, 1, 0}, {root5, 0, 0}, 1e-12},
        {"yaw rounds to 90", {0, 0, 0}, {2, 1, 1e-8}, {root5, 0, 0}, 1e-12},
        {"on the rotation point", {1, 2, 3}, {1, 2, 3}, {1, 2, 3 + double(0.1f)}, 1e-12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Camera camera(c.rotationPoint, c.eye);
        expectConsistentPose(camera, c.rotationPoint);
        expectVector(c.expectedEye, camera.position, c.tolerance);
        EXPECT_FALSE(camera.moved);
    }
}

TEST(Camera, ConstructionIsSoundOnAGridOfStarts) {
    const Vector3 rotationPoint(0.5, -1, 2);
    const double steps[] = {-2, -1e-9, 0, 1e-9, 1, 3};
    for (double x : steps) {
        for (double y : steps) {
            for (double z : steps) {
                SCOPED_TRACE(testing::Message() << "offset " << x << ", " << y << ", " << z);
                const Camera camera(rotationPoint, rotationPoint + Vector3(x, y, z));
                expectConsistentPose(camera, rotationPoint);
                EXPECT_GE(camera.distance, 0.1f);
            }
        }
    }
}

}  // namespace
