// Fixed views of the viewer compared with stored pictures: the three
// shading modes, each Debug overlay on its own, and the view after a known
// drag, zoom and pan. `make references` rewrites the pictures.

#include "tests/support/reference_image.h"
#include "tests/support/viewer_driver.h"

namespace {

using Menu = ViewerDriver::Menu;

// The Debug items, in the menu's order.
constexpr int kShowLightLocations = 0;
constexpr int kShowAxis = 1;
constexpr int kShowBasePlane = 2;

::testing::AssertionResult showsReference(ViewerDriver& viewer, const std::string& name) {
    return matchesReference(viewer.stillClient(), name, {ViewerDriver::frameRateCorner(viewer.clientHeight())});
}

TEST(ReferenceViews, EachShadingModeFromStartUp) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    EXPECT_TRUE(showsReference(viewer, "mode-fixed"));
    viewer.tapKey("2");
    EXPECT_TRUE(showsReference(viewer, "mode-toon"));
    viewer.tapKey("3");
    EXPECT_TRUE(showsReference(viewer, "mode-edge"));
    viewer.tapKey("1");
    EXPECT_TRUE(showsReference(viewer, "mode-fixed"));
}

TEST(ReferenceViews, EachDebugOverlayOnItsOwn) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    const std::pair<int, const char*> toggles[] = {
        {kShowLightLocations, "debug-light-locations"},
        {kShowAxis, "debug-axis"},
        {kShowBasePlane, "debug-no-base-plane"},
    };
    // Each toggle is chosen twice: on its own, then back to start-up.
    for (const auto& [item, name] : toggles) {
        ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, item));
        EXPECT_TRUE(showsReference(viewer, name));
        ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, item));
        EXPECT_TRUE(showsReference(viewer, "mode-fixed")) << "after " << name << " was switched off again";
    }
}

// Every control below acts a fixed amount per input, whatever the frame
// rate: a drag one degree a pixel, a wheel notch 5 %, a key tap one step.
TEST(ReferenceViews, AfterADragOf60PixelsRightAnd30Down) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    viewer.drag(150, 150, 210, 180);
    EXPECT_TRUE(showsReference(viewer, "after-drag"));
}

TEST(ReferenceViews, AfterFourWheelNotchesAwayFromTheUser) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    viewer.turnWheel(4);
    EXPECT_TRUE(showsReference(viewer, "after-zoom"));
}

TEST(ReferenceViews, AfterTwentyStepsRightAndTenUp) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    viewer.tapKey("d", 20);
    viewer.tapKey("e", 10);
    EXPECT_TRUE(showsReference(viewer, "after-pan"));
}

}  // namespace
