// The menus used with the mouse and the mode keys: check marks follow the
// state, a held mode key switches the look at once but its check mark only
// on release, and the Debug toggles for turning the scene and marking the
// rotation point do what they say.

#include <thread>

#include "tests/support/reference_image.h"
#include "tests/support/scene_pixels.h"
#include "tests/support/viewer_driver.h"

namespace {

using Menu = ViewerDriver::Menu;
using Marks = std::vector<bool>;

// Items by position in their menus.
constexpr int kToon = 1;
constexpr int kEdge = 2;
constexpr int kShowAxis = 1;
constexpr int kRotateScene = 3;
constexpr int kShowRotationPoint = 4;

const Marks kFixedChecked = {true, false, false};
const Marks kToonChecked = {false, true, false};
const Marks kEdgeChecked = {false, false, true};
// Start-up: "Show Base Plane" and "Show Rotation Point" are on.
const Marks kStartUpDebugMarks = {false, false, true, false, true};

std::vector<Rect> frameRateOf(const ViewerDriver& viewer) {
    return {ViewerDriver::frameRateCorner(viewer.clientHeight())};
}

TEST(MenusAndModes, HeldKeyTwoShowsToonAtOnceAndMovesTheCheckMarkOnRelease) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    viewer.keyDown("2");
    EXPECT_TRUE(matchesReference(viewer.stillClient(), "mode-toon", frameRateOf(viewer)));
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), kFixedChecked) << "moved while the key is still down";
    viewer.keyUp("2");
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), kToonChecked);
    EXPECT_TRUE(matchesReference(viewer.stillClient(), "mode-toon", frameRateOf(viewer)));
}

TEST(MenusAndModes, ItemsChosenWithTheMouseMoveTheirCheckMarks) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    EXPECT_EQ(viewer.readCheckMarks(Menu::File), Marks{false});
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), kFixedChecked);
    EXPECT_EQ(viewer.readCheckMarks(Menu::Debug), kStartUpDebugMarks);

    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Shader, kToon));
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), kToonChecked);
    EXPECT_TRUE(matchesReference(viewer.stillClient(), "mode-toon", frameRateOf(viewer)));
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Shader, kToon));
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), kToonChecked) << "choosing the checked mode again";
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Shader, kEdge));
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), kEdgeChecked);

    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowAxis));
    EXPECT_EQ(viewer.readCheckMarks(Menu::Debug), (Marks{false, true, true, false, true}));
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowAxis));
    EXPECT_EQ(viewer.readCheckMarks(Menu::Debug), kStartUpDebugMarks);
}

// The grid turns with the objects; the window's grey background and the
// light stay.
int gridPixelsMoved(const Image& before, const Image& after) {
    int moved = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (isGridLine(before.at(x, y)) != isGridLine(after.at(x, y))) ++moved;
        }
    }
    return moved;
}

TEST(MenusAndModes, RotateSceneTurnsTheSceneUntilSwitchedOff) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    Image start = viewer.stillClient();
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kRotateScene));

    Image first = viewer.captureClient();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Image later = viewer.captureClient();
    EXPECT_GT(compareImages(later, first, frameRateOf(viewer), 0).differingPixels, 500);
    EXPECT_GT(gridPixelsMoved(first, later), 300);
    EXPECT_EQ(viewer.readCheckMarks(Menu::Debug), (Marks{false, false, true, true, true}));

    // Switched off, the scene stands at once in its unturned orientation.
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kRotateScene));
    Image stopped = viewer.stillClient();
    EXPECT_FALSE(stopped.empty()) << "the scene kept turning";
    EXPECT_EQ(compareImages(stopped, start, frameRateOf(viewer), 24).differingPixels, 0);
}

// A held key moves the camera in each frame drawn while it is down: the
// press is taken in the first of these frames, at the latest, and the
// others move the camera, however long they take to come.
void pressForFrames(ViewerDriver& viewer, const char* key) {
    constexpr int kFramesHeld = 4;
    viewer.keyDown(key);
    EXPECT_TRUE(viewer.waitForFrames(kFramesHeld, std::chrono::seconds(30))) << "no frames while " << key << " is held";
}

TEST(MenusAndModes, RotationPointMarkerShowsOnlyWhileTheCameraMoves) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    EXPECT_EQ(measurePixels(viewer.stillClient(), isRotationMarkerPink).count, 0);

    pressForFrames(viewer, "a");
    EXPECT_GT(measurePixels(viewer.captureClient(), isRotationMarkerPink).count, 10) << "not shown while moving";
    viewer.keyUp("a");
    EXPECT_EQ(measurePixels(viewer.stillClient(), isRotationMarkerPink).count, 0) << "still shown once stopped";

    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowRotationPoint));
    Image before = viewer.stillClient();
    pressForFrames(viewer, "a");
    Image moving = viewer.captureClient();
    viewer.keyUp("a");
    EXPECT_GT(compareImages(moving, before, frameRateOf(viewer), 0).differingPixels, 0) << "the camera did not move";
    EXPECT_EQ(measurePixels(moving, isRotationMarkerPink).count, 0) << "shown though switched off";
}

}  // namespace
