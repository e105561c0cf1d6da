// The orbit camera: pan, roll, look and turn by held keys, orbit by mouse
// drag, zoom by wheel, and the gluLookAt view built from the pose.
//
// Inside Camera members the member `distance` hides the free function of the
// same name, hence ::distance.
#include "geometry/camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gl.h"

namespace {

bool isZero(Vector3 v) {
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

// The orbit radius in single precision, kept between the zoom floor and the
// largest float: the floor keeps the eye off the rotation point, the ceiling
// keeps a long zoom-out from overflowing to infinity, after which zooming in
// would give inf - inf and a NaN pose for good. The floor is tested against
// the double 0.1 but stores the float 0.1.
float boundedDistance(float value) {
    if (value <= Camera::kMinDistance) {
        return static_cast<float>(Camera::kMinDistance);
    }
    return std::min(value, std::numeric_limits<float>::max());
}

// Angle between two unit vectors in degrees, rounded to single precision.
float angleBetween(Vector3 a, Vector3 b) {
    return static_cast<float>(std::acos(dot(a, b)) * 180.0 / kPi);
}

// Slides eye and rotation point together; the offset goes to the eye first.
void pan(Camera& camera, Vector3 offset) {
    camera.position += offset;
    camera.rotationPoint += offset;
    camera.moved = true;
}

// Rotates the view and the orbit frame about the line of sight.
void roll(Camera& camera, double angleDegrees) {
    rotateInPlace(camera.forward, camera.up, camera.right, angleDegrees);
    rotateInPlace(camera.forward, camera.orbitBack, camera.orbitUp, camera.orbitLeft, angleDegrees);
    camera.moved = true;
}

// Turns the view about `axis`, one of its own vectors, keeping the eye in
// place; a and b are the two other view vectors.
void turnAbout(Camera& camera, const Vector3& axis, Vector3& a, Vector3& b, double angleDegrees) {
    rotateInPlace(axis, a, b, angleDegrees);
    camera.turnOrbitFrame(axis, angleDegrees);
    camera.moved = true;
}

}  // namespace

Camera::Camera(Vector3 target, Vector3 eye) : distance(0.0f), yaw(0.0f), pitch(0.0f), moved(false) {
    reset();

    const Vector3 shift = target - rotationPoint;
    rotationPoint += shift;
    position += shift;
    // A start on the rotation point itself gets the zoom floor, so the view
    // always has a direction.
    distance = boundedDistance(static_cast<float>(::distance(eye, target)));
    position = target + distance * (-forward);

    // Yaw about the vertical from the default +z eye toward the wanted
    // direction of sight, then pitch between the y-z projections of the
    // current and the wanted directions. Both steps are unsigned, so a start
    // at smaller x or lower y than the target ends up mirrored.
    //
    // A start straight above or below the target has no horizontal
    // direction: no yaw. A yaw that comes out at exactly 90 degrees puts the
    // eye on the x axis, where its y-z projection vanishes: no pitch. Either
    // way the pose stays valid, `distance` from the target, instead of NaN.
    const Vector3 wanted = normalize(target - eye);
    const Vector3 horizontal = normalize(Vector3(wanted.x, 0.0, wanted.z));
    if (!isZero(horizontal)) {
        orbit(angleBetween(-orbitBack, horizontal), 0.0f);
    }

    Vector3 eyeOffset = position - rotationPoint;
    eyeOffset.x = 0.0;
    const Vector3 current = normalize(eyeOffset);
    const Vector3 vertical = normalize(Vector3(0.0, wanted.y, wanted.z));
    if (!isZero(current) && !isZero(vertical)) {
        orbit(0.0f, angleBetween(current, -vertical));
    }

    moved = false;
}

void Camera::reset() {
    // The literal 1.732, not sqrt(3): the default eye is not on the unit cube
    // diagonal, and the stored float distance differs from it.
    position = Vector3(0.0, 0.0, 1.732);
    rotationPoint = Vector3(0.0, 0.0, 0.0);
    distance = static_cast<float>(::distance(position, rotationPoint));
    forward = normalize(rotationPoint - position);
    right = cross(forward, Vector3(0.0, 1.0, 0.0));
    up = cross(right, forward);
    orbitBack = Vector3(0.0, 0.0, 1.0);
    orbitUp = Vector3(0.0, 1.0, 0.0);
    orbitLeft = Vector3(-1.0, 0.0, 0.0);
    yaw = 0.0f;
    pitch = 0.0f;
}

void Camera::applyView() {
    glLoadIdentity();
    gluLookAt(position.x, position.y, position.z,
              rotationPoint.x, rotationPoint.y, rotationPoint.z,
              up.x, up.y, up.z);
}

void Camera::moveForward() {
    pan(*this, kMoveStep * forward);
}

void Camera::moveBackward() {
    pan(*this, -(kMoveStep * forward));
}

void Camera::moveLeft() {
    pan(*this, -(kMoveStep * right));
}

void Camera::moveRight() {
    pan(*this, kMoveStep * right);
}

void Camera::moveUp() {
    pan(*this, kMoveStep * up);
}

void Camera::moveDown() {
    pan(*this, -(kMoveStep * up));
}

// +2 about `right` tilts `forward` toward `up`.
void Camera::lookUp() {
    turnAbout(*this, right, forward, up, kTurnStep);
}

void Camera::lookDown() {
    turnAbout(*this, right, forward, up, -kTurnStep);
}

// +2 about `up` swings `forward` toward -`right`, to the left.
void Camera::turnLeft() {
    turnAbout(*this, up, forward, right, kTurnStep);
}

void Camera::turnRight() {
    turnAbout(*this, up, forward, right, -kTurnStep);
}

// +2 tilts `up` toward `right`.
void Camera::rollRight() {
    roll(*this, kTurnStep);
}

void Camera::rollLeft() {
    roll(*this, -kTurnStep);
}

void Camera::orbit(float deltaYaw, float deltaPitch) {
    // Absolute angles in single precision: every orbit rebuilds the eye and
    // the view frame from the unchanged orbit frame, so there is no drift and
    // no singular pose over the poles.
    yaw = yaw + deltaYaw;
    pitch = pitch + deltaPitch;

    Vector3 back = orbitBack;
    Vector3 left = orbitLeft;
    rotateInPlace(orbitUp, back, left, yaw);
    back = rotated(left, back, pitch);

    position = rotationPoint + distance * back;
    forward = -back;
    up = cross(forward, left);
    right = cross(forward, up);
    moved = true;
}

void Camera::zoom(float wheelSteps) {
    // Evaluated in single precision, as the distance is held.
    distance = boundedDistance(distance - wheelSteps * kZoomFactor * distance);
    position = rotationPoint + distance * (-forward);
    moved = true;
}

void Camera::turnOrbitFrame(Vector3 axis, double angleDegrees) {
    rotateInPlace(axis, orbitBack, orbitUp, orbitLeft, angleDegrees);
    // The eye stays; the rotation point follows the new line of sight.
    rotationPoint = position + distance * forward;
}
