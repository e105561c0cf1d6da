// The one viewpoint: an eye orbiting a rotation point, panned, turned and
// rolled by held keys, orbited by mouse drags and zoomed by the wheel.
#pragma once

#include "geometry/vector3.h"

class Camera {
public:
    // Single precision where the camera holds single-precision state.
    static constexpr float kMoveStep = 0.03f;
    static constexpr double kTurnStep = 2.0;
    static constexpr float kZoomFactor = 0.05f;
    static constexpr double kMinDistance = 0.1;

    Camera(Vector3 rotationPoint, Vector3 position);

    void reset();
    void applyView();

    void moveForward();
    void moveBackward();
    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();
    void lookUp();
    void lookDown();
    void turnLeft();
    void turnRight();
    void rollRight();
    void rollLeft();

    void orbit(float deltaYaw, float deltaPitch);
    void zoom(float wheelSteps);
    void turnOrbitFrame(Vector3 axis, double angleDegrees);

    // The rotation-point marker; drawn with the debug overlays.
    void drawRotationPoint();

    float distance;
    Vector3 forward;
    Vector3 up;
    Vector3 right;
    Vector3 orbitBack;
    Vector3 orbitUp;
    Vector3 orbitLeft;
    Vector3 position;
    Vector3 rotationPoint;
    float yaw;
    float pitch;
    bool moved;
};
