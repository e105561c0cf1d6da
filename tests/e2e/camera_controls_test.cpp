// The camera controls checked by what they do to the picture: flying
// forward enlarges the objects where they are, a drag swings the eye around
// the rotation point one degree a pixel, a wheel notch zooms by 5 %.

#include <algorithm>
#include <cmath>

#include "tests/support/scene_pixels.h"
#include "tests/support/viewer_driver.h"

namespace {

using Menu = ViewerDriver::Menu;

// The Debug items, in the menu's order.
constexpr int kShowLightLocations = 0;
constexpr int kShowBasePlane = 2;

// The picture above the frame-rate text, whose white would count as an
// object.
Image aboveFrameRate(const Image& picture) {
    return picture.cropped({0, 0, picture.width(), ViewerDriver::frameRateCorner(picture.height()).y});
}

// The objects without the grid (switched off) and without the
// rotation-point marker, which shows while the camera moves.
PixelRegion objectsIn(const Image& picture) {
    return measurePixels(aboveFrameRate(picture),
                         [](Rgb colour) { return isObject(colour) && !isRotationMarkerPink(colour); });
}

// The cube's front face: the brightest grey in the scene, facing the light.
PixelRegion cubeFrontFace(const Image& picture) {
    return measurePixels(aboveFrameRate(picture), [](Rgb colour) {
        int low = std::min({colour.red, colour.green, colour.blue});
        int high = std::max({colour.red, colour.green, colour.blue});
        return low > 170 && high - low < 20;
    });
}

TEST(CameraControls, HoldingWBringsTheObjectsCloserWithoutTurningAway) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowBasePlane));
    PixelRegion before = objectsIn(viewer.stillClient());
    ASSERT_GT(before.count, 1000);

    // Held, the key moves the camera once a frame however fast frames come.
    // It is held a few frames at a time until the objects have grown by
    // half: a test short of processor time cannot let the camera run on far
    // past that, to where the objects leave the picture.
    PixelRegion after = before;
    for (int hold = 0; hold < 100 && after.count < before.count * 3 / 2; ++hold) {
        viewer.keyDown("w");
        ASSERT_TRUE(viewer.waitForFrames(3, std::chrono::seconds(10))) << "no frames while W is held";
        viewer.keyUp("w");
        after = objectsIn(viewer.stillClient());
    }

    EXPECT_GT(after.count, before.count * 3 / 2);
    EXPECT_GT(after.bounds.width, before.bounds.width * 11 / 10);
    EXPECT_GT(after.bounds.height, before.bounds.height * 11 / 10);
    // The eye moves along its line of sight, so the objects stay where they
    // were on the screen, only larger.
    double shift = std::hypot(after.centroidX - before.centroidX, after.centroidY - before.centroidY);
    EXPECT_LT(shift, 0.05 * viewer.clientWidth()) << "centroid moved from (" << before.centroidX << ", "
                                                  << before.centroidY << ") to (" << after.centroidX << ", "
                                                  << after.centroidY << ")";
}

TEST(CameraControls, DragToTheRightSwingsTheEyeAroundTheRotationPoint) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    // The light's marker stands at (1, 1, 2), to the right of and in front
    // of the rotation point: where it goes on the screen shows which way
    // the eye swung.
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowLightLocations));
    Image start = viewer.stillClient();
    PixelRegion light = measurePixels(start, isLightMarkerYellow);
    ASSERT_GT(light.count, 10);

    // Dragging right swings the eye to the left of the scene, so the marker
    // swings further right...
    viewer.drag(200, 200, 230, 200);
    PixelRegion swungLeft = measurePixels(viewer.stillClient(), isLightMarkerYellow);
    EXPECT_GT(swungLeft.centroidX, light.centroidX + 20);
    // ...and dragging left swings the eye to its right, taking the marker
    // past the middle of the window.
    viewer.drag(230, 200, 170, 200);
    PixelRegion swungRight = measurePixels(viewer.stillClient(), isLightMarkerYellow);
    EXPECT_LT(swungRight.centroidX, viewer.clientWidth() / 2.0);

    // Back by 30 px, then a full circle of 360 px at one degree a pixel: the
    // start-up view again, at the same distance from the rotation point.
    viewer.drag(170, 200, 200, 200);
    viewer.drag(60, 200, 420, 200, 24);
    std::vector<Rect> ignored = {ViewerDriver::frameRateCorner(viewer.clientHeight())};
    EXPECT_LE(compareImages(viewer.stillClient(), start, ignored, 24).differingPixels, 100);
}

TEST(CameraControls, OneWheelNotchZoomsByFivePercent) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    // Ten notches in first make the cube large enough to measure 5 % of it
    // to about a pixel.
    viewer.turnWheel(10);
    PixelRegion before = cubeFrontFace(viewer.stillClient());
    ASSERT_GT(before.bounds.width, 60);

    viewer.turnWheel(1);
    PixelRegion closer = cubeFrontFace(viewer.stillClient());
    // The face lies a little nearer than the rotation point, so it grows
    // slightly more than the distance shrinks: 1 / 0.95 = 1.053.
    EXPECT_NEAR(double(closer.bounds.width) / before.bounds.width, 1.0 / 0.95, 0.025);
    EXPECT_NEAR(double(closer.bounds.height) / before.bounds.height, 1.0 / 0.95, 0.025);

    viewer.turnWheel(-1);
    PixelRegion back = cubeFrontFace(viewer.stillClient());
    EXPECT_NEAR(double(back.bounds.width) / closer.bounds.width, 1.0 / 1.05, 0.025);
}

}  // namespace
