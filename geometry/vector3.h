// Double-precision vectors and axis-angle rotations. Every angle at these
// interfaces is in degrees.
#pragma once

struct Vector3 {
    double x, y, z;

    // Zeroed rather than left unset, so that no code path can ever read
    // indeterminate values; every user assigns before reading anyway.
    Vector3() : x(0.0), y(0.0), z(0.0) {}
    Vector3(double x, double y, double z) : x(x), y(y), z(z) {}

    Vector3 operator+(const Vector3& b) const;
    Vector3 operator-(const Vector3& b) const;
    Vector3 operator-() const;
    void operator+=(const Vector3& b);
    void operator-=(const Vector3& b);
};

// Row-major 3 x 3 matrix; only ever the intermediate result of rotationMatrix.
struct Matrix3 {
    double m[9];
};

// Pi to twelve decimals, not the full double value: the snapping below and
// the camera's angle conversions are tuned to this constant.
constexpr double kPi = 3.141592653589;
// A sine or cosine strictly inside (-kSnapEpsilon, kSnapEpsilon) becomes 0, so
// quarter and half turns of axis-aligned vectors stay exactly axis-aligned.
constexpr double kSnapEpsilon = 1e-11;

Vector3 operator*(double k, Vector3 a);
double dot(Vector3 a, Vector3 b);
Vector3 cross(Vector3 a, Vector3 b);
double distance(Vector3 a, Vector3 b);
Vector3 normalize(Vector3 v);

// The axis is used as given, not normalised.
Matrix3 rotationMatrix(Vector3 axis, double angleDegrees);
Vector3 rotated(Vector3 axis, Vector3 v, double angleDegrees);
// Both return at once, leaving the vectors bit for bit, for an angle of 0.0.
void rotateInPlace(Vector3 axis, Vector3& a, Vector3& b, double angleDegrees);
void rotateInPlace(Vector3 axis, Vector3& a, Vector3& b, Vector3& c, double angleDegrees);
