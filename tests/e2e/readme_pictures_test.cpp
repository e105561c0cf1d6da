// The README's screenshots, taken from the real viewer by the same driver
// as the tests. Only `make pictures` runs this: it sets
// VERRINE_PICTURES_DIR to docs/; everywhere else the test is skipped.

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/viewer_driver.h"

namespace {

using Menu = ViewerDriver::Menu;

constexpr int kShowLightLocations = 0;
constexpr int kShowAxis = 1;

void save(const Image& picture, const std::filesystem::path& path) {
    ASSERT_FALSE(picture.empty()) << path;
    ASSERT_TRUE(writePng(picture, path.string())) << path;
}

// The whole window, menu bar included, once the picture is still.
Image stillWindow(ViewerDriver& viewer) {
    viewer.stillClient();
    return viewer.captureWindow();
}

TEST(ReadmePictures, EachShadingModeAndTheDebugOverlays) {
    const char* directory = std::getenv("VERRINE_PICTURES_DIR");
    if (!directory) GTEST_SKIP() << "set VERRINE_PICTURES_DIR (make pictures) to write the README's pictures";
    std::filesystem::path pictures(directory);

    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    save(stillWindow(viewer), pictures / "verrine-fixed-pipeline.png");
    viewer.tapKey("2");
    save(stillWindow(viewer), pictures / "verrine-toon.png");
    viewer.tapKey("3");
    save(stillWindow(viewer), pictures / "verrine-edge.png");

    // Every overlay at once; the rotation-point marker shows only while the
    // camera moves, so the picture is taken while W flies it forward.
    viewer.tapKey("1");
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowLightLocations));
    ASSERT_TRUE(viewer.chooseMenuItem(Menu::Debug, kShowAxis));
    viewer.stillClient();
    viewer.keyDown("w");
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    save(viewer.captureWindow(), pictures / "verrine-debug-overlays.png");
    viewer.keyUp("w");
}

}  // namespace
