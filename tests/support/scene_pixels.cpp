#include "tests/support/scene_pixels.h"

#include <algorithm>
#include <cstdlib>

bool isNear(Rgb colour, Rgb expected, int tolerance) {
    return std::abs(colour.red - expected.red) <= tolerance &&
           std::abs(colour.green - expected.green) <= tolerance &&
           std::abs(colour.blue - expected.blue) <= tolerance;
}

bool isViewerBackground(Rgb colour) { return isNear(colour, kViewerBackground, 2); }

bool isGridLine(Rgb colour) { return isNear(colour, kGridGrey, 2); }

bool isObject(Rgb colour) { return !isViewerBackground(colour) && !isGridLine(colour); }

bool isStripeColour(Rgb colour) {
    int high = std::max({colour.red, colour.green, colour.blue});
    int low = std::min({colour.red, colour.green, colour.blue});
    return high - low > 40;
}

bool isRotationMarkerPink(Rgb colour) { return isNear(colour, kRotationMarkerPink, 8); }

bool isLightMarkerYellow(Rgb colour) { return isNear(colour, kLightMarkerYellow, 8); }
