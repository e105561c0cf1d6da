// Vector arithmetic and the axis-angle rotation: the exactness of quarter and
// half turns, the untouched zero-angle rotation, and the plain operations.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "geometry/vector3.h"
#include "tests/geometry/expect_vector.h"

namespace {

struct RotationCase {
    const char* name;
    Vector3 axis;
    Vector3 v;
    double angleDegrees;
    Vector3 expected;
    double tolerance;
};

// Quarter and half turns of axis-aligned vectors come out exactly
// axis-aligned; a positive angle is counter-clockwise seen from the axis tip.
TEST(Rotation, TurnsAxisAlignedVectors) {
    const double c30 = std::sqrt(3.0) / 2.0;
    const RotationCase cases[] = {
        {"quarter about y", {0, 1, 0}, {0, 0, 1}, 90, {1, 0, 0}, 0},
        {"quarter about z", {0, 0, 1}, {1, 0, 0}, 90, {0, 1, 0}, 0},
        {"quarter about x", {1, 0, 0}, {0, 1, 0}, 90, {0, 0, 1}, 0},
        {"negative quarter", {0, 1, 0}, {0, 0, 1}, -90, {-1, 0, 0}, 0},
        {"half about y", {0, 1, 0}, {0, 0, 1}, 180, {0, 0, -1}, 0},
        {"full about y", {0, 1, 0}, {0, 0, 1}, 360, {0, 0, 1}, 0},
        {"on the axis", {0, 0, 1}, {0, 0, 2}, 37, {0, 0, 2}, 0},
        {"thirty about z", {0, 0, 1}, {1, 0, 0}, 30, {c30, 0.5, 0}, 1e-12},
    };
    for (const RotationCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectVector(c.expected, rotated(c.axis, c.v, c.angleDegrees), c.tolerance);
    }
}

TEST(Rotation, QuarterTurnMatrixAboutYIsExact) {
    const Matrix3 m = rotationMatrix(Vector3(0, 1, 0), 90);
    const double expected[9] = {0, 0, 1, 0, 1, 0, -1, 0, 0};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(expected[i], m.m[i]) << "element " << i;
    }
}

// A zero angle returns before any matrix is built: even with an axis that is
// not unit length the vectors keep every bit.
TEST(Rotation, ZeroAngleInPlaceLeavesVectorsBitForBit) {
    const Vector3 axis(2.0, -3.0, 0.5);
    const Vector3 original[3] = {{0.1, 1.0 / 3.0, -7.25}, {1e-300, -0.0, 3.0}, {0.7, 0.2, 0.9}};
    Vector3 a = original[0], b = original[1], c = original[2];

    rotateInPlace(axis, a, b, 0.0);
    EXPECT_EQ(0, std::memcmp(&a, &original[0], sizeof a));
    EXPECT_EQ(0, std::memcmp(&b, &original[1], sizeof b));

    rotateInPlace(axis, a, b, c, 0.0);
    EXPECT_EQ(0, std::memcmp(&a, &original[0], sizeof a));
    EXPECT_EQ(0, std::memcmp(&b, &original[1], sizeof b));
    EXPECT_EQ(0, std::memcmp(&c, &original[2], sizeof c));
}

// In place, each vector is turned on its own by the one matrix, as rotated
// would turn it.
TEST(Rotation, InPlaceTurnsEachVectorLikeRotated) {
    const Vector3 axis = normalize(Vector3(1, 2, 2));
    const Vector3 original[3] = {{1, 0, 0}, {0.3, -0.4, 0.5}, {0, 0, -2}};
    Vector3 a = original[0], b = original[1], c = original[2];
    rotateInPlace(axis, a, b, c, 37.5);
    expectVector(rotated(axis, original[0], 37.5), a, 0);
    expectVector(rotated(axis, original[1], 37.5), b, 0);
    expectVector(rotated(axis, original[2], 37.5), c, 0);

    Vector3 d = original[1], e = original[2];
    rotateInPlace(axis, d, e, -12.0);
    expectVector(rotated(axis, original[1], -12.0), d, 0);
    expectVector(rotated(axis, original[2], -12.0), e, 0);
}

TEST(Vector, ArithmeticAndProducts) {
    const Vector3 a(1, 2, 3), b(-4, 0.5, 2);
    expectVector({-3, 2.5, 5}, a + b, 0);
    expectVector({5, 1.5, 1}, a - b, 0);
    expectVector({-1, -2, -3}, -a, 0);
    expectVector({2, 4, 6}, 2.0 * a, 0);
    EXPECT_EQ(3.0, dot(a, b));

    Vector3 sum = a;
    sum += b;
    expectVector(a + b, sum, 0);
    sum -= b;
    expectVector(a, sum, 0);

    // Right-handed: x cross y is z; the default view's right vector.
    expectVector({0, 0, 1}, cross({1, 0, 0}, {0, 1, 0}), 0);
    expectVector({1, 0, 0}, cross({0, 0, -1}, {0, 1, 0}), 0);
    expectVector({2.5, -14, 8.5}, cross(a, b), 0);
}

TEST(Vector, NormalizeAndDistance) {
    expectVector({0, 0, -1}, normalize({0, 0, -1.732}), 0);
    expectVector({0.6, 0, -0.8}, normalize({3, 0, -4}), 1e-15);
    EXPECT_EQ(1.732, distance({0, 0, 1.732}, {0, 0, 0}));
    EXPECT_EQ(13.0, distance({1, 2, 3}, {4, 6, 15}));
    // A zero vector has no direction and comes back as it is, never NaN.
    expectVector({0, 0, 0}, normalize({0, 0, 0}), 0);
}

}  // namespace
