// Every way of quitting ends the process with status 0, promptly.

#include "tests/support/viewer_driver.h"

namespace {

constexpr auto kQuitTimeout = std::chrono::seconds(3);
constexpr int kQuitItem = 0;

TEST(Quit, EscapeKeyExitsWithStatusZero) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    viewer.tapKey("Escape");
    EXPECT_EQ(viewer.waitForExit(kQuitTimeout), 0);
}

TEST(Quit, FileQuitChosenWithTheMouseExitsWithStatusZero) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    ASSERT_TRUE(viewer.chooseMenuItem(ViewerDriver::Menu::File, kQuitItem));
    EXPECT_EQ(viewer.waitForExit(kQuitTimeout), 0);
}

TEST(Quit, WindowManagerCloseExitsWithStatusZero) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    viewer.requestClose();
    EXPECT_EQ(viewer.waitForExit(kQuitTimeout), 0);
}

}  // namespace
