// The Debug menu's overlays: light marker, scene rotation, base-plane grid,
// axis lines and the camera's rotation-point marker. Every overlay is a set
// of unlit GL_LINES and leaves lighting and depth testing on, as it found them.
#include "render/render_options.h"
#include "geometry/camera.h"
#include "platform/gl.h"
#include "render/light.h"
#include "render/scene.h"

namespace {

constexpr double kLightMarkerHalfLength = 0.1;
constexpr float kRotationStepDegrees = 0.5f;
constexpr float kFullTurnDegrees = 360.0f;
constexpr int kGridLinesPerDirection = 11;
constexpr float kGridHalfExtent = 2.0f;
constexpr float kGridGrey = 0.37f;
constexpr float kAxisLength = 0.1f;
// The marker is a fixed fraction of the orbit distance so that it keeps its
// size on screen while zooming.
constexpr double kRotationPointScale = 0.1;

// Coordinates are worked out in double precision and handed over as floats.
void vertex(const Vector3& v) {
    glVertex3f(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

// A segment through centre, arm long on each side.
void segmentThrough(const Vector3& centre, const Vector3& arm) {
    vertex(centre - arm);
    vertex(centre + arm);
}

// Grid line i of 0..10 sits at -2.0, -1.6, ..., 2.0.
float gridOffset(int i) {
    return static_cast<float>((i - 5) / 10.0 * 2.0 * 2.0);
}

}  // namespace

void Light::drawLocationMarker() {
    if (!options->showLightLocations) {
        return;
    }
    // Depth testing stays on: objects in front of the light hide its marker.
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    segmentThrough(position, Vector3(kLightMarkerHalfLength, 0.0, 0.0));
    segmentThrough(position, Vector3(0.0, kLightMarkerHalfLength, 0.0));
    segmentThrough(position, Vector3(0.0, 0.0, kLightMarkerHalfLength));
    glEnd();
    glEnable(GL_LIGHTING);
}

void Scene::applyRotation() {
    if (!options->rotateScene) {
        // The angle is kept, so switching back on continues where it stopped.
        return;
    }
    // One step per frame drawn, not per unit of time. 360.0 itself is kept;
    // only a value past it wraps.
    rotationAngle += kRotationStepDegrees;
    if (rotationAngle > kFullTurnDegrees) {
        rotationAngle -= kFullTurnDegrees;
    }
    glRotatef(rotationAngle, 0.0f, 1.0f, 0.0f);
}

void Scene::drawBasePlane() {
    if (!options->showBasePlane) {
        return;
    }
    // Depth testing stays on: the grid is hidden by the objects standing on it.
    glDisable(GL_LIGHTING);
    glColor4f(kGridGrey, kGridGrey, kGridGrey, 1.0f);
    glBegin(GL_LINES);
    for (int i = 0; i < kGridLinesPerDirection; ++i) {
        const float x = gridOffset(i);
        glVertex3f(x, 0.0f, -kGridHalfExtent);
        glVertex3f(x, 0.0f, kGridHalfExtent);
    }
    for (int i = 0; i < kGridLinesPerDirection; ++i) {
        const float z = gridOffset(i);
        glVertex3f(-kGridHalfExtent, 0.0f, z);
        glVertex3f(kGridHalfExtent, 0.0f, z);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void Scene::drawAxis() {
    if (!options->showAxis) {
        return;
    }
    // No depth test: the axes show through the objects around the origin.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(kAxisLength, 0.0f, 0.0f);
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, kAxisLength, 0.0f);
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, kAxisLength);
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

void Camera::drawRotationPoint() {
    // With the option off the flag stays set, so switching it on shows the
    // marker once even for a still camera.
    if (!moved || !options->showRotationPoint) {
        return;
    }
    // Drawn under the view matrix alone and always in front of the scene.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    // Rounded to a float on purpose, as the arm length has always been; the
    // vertices are then computed from it in double precision.
    const double size = static_cast<float>(distance * kRotationPointScale);
    glBegin(GL_LINES);
    glColor4f(1.0f, 0.6f, 0.78f, 1.0f);
    segmentThrough(rotationPoint, size * orbitBack);
    segmentThrough(rotationPoint, size * orbitLeft);
    // The red tick points along the orbit's up axis.
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    vertex(rotationPoint + size * orbitUp);
    vertex(rotationPoint);
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    moved = false;
}
