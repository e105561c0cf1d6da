// Vector arithmetic and the axis-angle rotation used by every camera turn.
// The rounding order of each expression is part of the camera's results:
// keep the operations written as they are.
#include "geometry/vector3.h"

#include <cmath>

Vector3 Vector3::operator+(const Vector3& b) const {
    return Vector3(x + b.x, y + b.y, z + b.z);
}

Vector3 Vector3::operator-(const Vector3& b) const {
    return Vector3(x - b.x, y - b.y, z - b.z);
}

Vector3 Vector3::operator-() const {
    return Vector3(-x, -y, -z);
}

void Vector3::operator+=(const Vector3& b) {
    x += b.x;
    y += b.y;
    z += b.z;
}

void Vector3::operator-=(const Vector3& b) {
    x -= b.x;
    y -= b.y;
    z -= b.z;
}

Vector3 operator*(double k, Vector3 a) {
    return Vector3(k * a.x, k * a.y, k * a.z);
}

double dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 cross(Vector3 a, Vector3 b) {
    return Vector3(a.y * b.z - a.z * b.y,
                   a.z * b.x - a.x * b.z,
                   a.x * b.y - a.y * b.x);
}

double distance(Vector3 a, Vector3 b) {
    const Vector3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

Vector3 normalize(Vector3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    // A zero vector has no direction; hand it back unchanged instead of
    // turning it into NaNs that would spread through every later result.
    if (length == 0.0) {
        return v;
    }
    return Vector3(v.x / length, v.y / length, v.z / length);
}

namespace {

// The twelve-decimal pi leaves cos 90 deg near 4e-13 and sin 180 deg near
// 8e-13; exact zeros keep quarter and half turns axis-aligned.
double snapToZero(double value) {
    return (value > -kSnapEpsilon && value < kSnapEpsilon) ? 0.0 : value;
}

Vector3 multiply(const Matrix3& m, Vector3 v) {
    return Vector3(m.m[0] * v.x + m.m[1] * v.y + m.m[2] * v.z,
                   m.m[3] * v.x + m.m[4] * v.y + m.m[5] * v.z,
                   m.m[6] * v.x + m.m[7] * v.y + m.m[8] * v.z);
}

}  // namespace

Matrix3 rotationMatrix(Vector3 axis, double angleDegrees) {
    const double radians = angleDegrees * kPi / 180.0;
    const double s = snapToZero(std::sin(radians));
    const double c = snapToZero(std::cos(radians));
    const double x = axis.x;
    const double y = axis.y;
    const double z = axis.z;
    // Rodrigues' formula with the diagonal as x^2 + (1 - x^2) c rather than
    // c + x^2 (1 - c): the two round differently.
    return Matrix3{{
        x * x + (1 - x * x) * c, x * y * (1 - c) - z * s, x * z * (1 - c) + y * s,
        x * y * (1 - c) + z * s, y * y + (1 - y * y) * c, y * z * (1 - c) - x * s,
        x * z * (1 - c) - y * s, y * z * (1 - c) + x * s, z * z + (1 - z * z) * c,
    }};
}

Vector3 rotated(Vector3 axis, Vector3 v, double angleDegrees) {
    return multiply(rotationMatrix(axis, angleDegrees), v);
}

void rotateInPlace(Vector3 axis, Vector3& a, Vector3& b, double angleDegrees) {
    // A zero angle keeps the vectors bit for bit; the matrix would not.
    if (angleDegrees == 0.0) {
        return;
    }
    const Matrix3 m = rotationMatrix(axis, angleDegrees);
    a = multiply(m, a);
    b = multiply(m, b);
}

void rotateInPlace(Vector3 axis, Vector3& a, Vector3& b, Vector3& c, double angleDegrees) {
    if (angleDegrees == 0.0) {
        return;
    }
    const Matrix3 m = rotationMatrix(axis, angleDegrees);
    a = multiply(m, a);
    b = multiply(m, b);
    c = multiply(m, c);
}
