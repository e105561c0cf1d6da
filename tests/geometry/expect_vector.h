// Component-wise vector comparison for the geometry tests: a tolerance of 0
// asks for the exact double (where the camera's snapping promises exactness).
#pragma once

#include <gtest/gtest.h>

#include "geometry/vector3.h"

inline void expectVector(Vector3 expected, Vector3 actual, double tolerance) {
    if (tolerance == 0.0) {
        EXPECT_EQ(expected.x, actual.x);
        EXPECT_EQ(expected.y, actual.y);
        EXPECT_EQ(expected.z, actual.z);
    } else {
        EXPECT_NEAR(expected.x, actual.x, tolerance);
        EXPECT_NEAR(expected.y, actual.y, tolerance);
        EXPECT_NEAR(expected.z, actual.z, tolerance);
    }
}
