#include "tests/support/scene_pixels.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool near(Rgb colour, int red, int green, int blue, int tolerance) {
    return std::abs(colour.red - red) <= tolerance && std::abs(colour.green - green) <= tolerance &&
           std::abs(colour.blue - blue) <= tolerance;
}

}  // namespace

bool isViewerBackground(Rgb colour) { return near(colour, 125, 125, 125, 2); }

bool isGridLine(Rgb colour) { return near(colour, 94, 94, 94, 2); }

bool isObject(Rgb colour) { return !isViewerBackground(colour) && !isGridLine(colour); }

bool isStripeColour(Rgb colour) {
    int high = std::max({colour.red, colour.green, colour.blue});
    int low = std::min({colour.red, colour.green, colour.blue});
    return high - low > 40;
}

bool isRotationMarkerPink(Rgb colour) { return near(colour, 255, 153, 199, 8); }

bool isLightMarkerYellow(Rgb colour) { return near(colour, 255, 255, 0, 8); }
