// The real viewer under real X input: a flood of drag moves leaves a sane
// picture, and quitting in the middle of a held key or of a drag ends the
// process with status 0.

#include <random>

#include "tests/reliability/viewer_checks.h"

// After gtest: X's macros (None, Bool) clash with its names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace reliability {
namespace {

// The left button, pressed and released over a connection of the test's
// own: the driver's drags always end with a release.
class LeftButton {
public:
    explicit LeftButton(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {}
    ~LeftButton() {
        if (display_) XCloseDisplay(display_);
    }
    LeftButton(const LeftButton&) = delete;
    LeftButton& operator=(const LeftButton&) = delete;

    bool press() { return set(True); }
    bool release() { return set(False); }

private:
    bool set(Bool down) {
        if (!display_) return false;
        XTestFakeButtonEvent(display_, Button1, down, CurrentTime);
        XSync(display_, False);
        return true;
    }

    Display* display_;
};

ViewerLaunch patientLaunch() {
    ViewerLaunch how;
    how.startTimeout = std::chrono::seconds(60);
    return how;
}

TEST(LiveInput, EscapeWhileAKeyIsHeldEndsWithZero) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch(patientLaunch()));
    viewer.keyDown("w");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    viewer.keyDown("Escape");
    EXPECT_TRUE(exitsWithZero(viewer, std::chrono::seconds(10)));
}

// Ten thousand moves with the button down, to anywhere in the client area:
// the toolkit merges what arrives together, the viewer works off the rest
// one a frame. Afterwards the scene is still drawn: a camera gone NaN would
// leave the clear colour alone.
TEST(LiveInput, FloodOfDragMovesThenCloseBoxDuringTheDrag) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch(patientLaunch()));
    const Image start = viewer.stillClient();
    const Rgb background = start.at(2, 2);
    LeftButton button(viewer.displayName());
    ASSERT_TRUE(button.press());

    std::mt19937 generator(11);
    std::uniform_int_distribution<int> x(0, viewer.clientWidth() - 1);
    std::uniform_int_distribution<int> y(0, viewer.clientHeight() - 1);
    for (int move = 0; move < 10000; ++move) viewer.moveMouse(x(generator), y(generator));

    Image settled = viewer.stillClient(std::chrono::seconds(90));
    ASSERT_FALSE(settled.empty()) << "the moves were never worked off";
    ASSERT_TRUE(viewer.running());
    EXPECT_FALSE(samePicture(settled, start)) << "the moves did not turn the view";
    PixelRegion scene = measurePixels(settled, [&](Rgb colour) {
        return colour.red != background.red || colour.green != background.green || colour.blue != background.blue;
    });
    EXPECT_GT(scene.count, 2000) << "hardly anything drawn after the moves";

    viewer.requestClose();
    EXPECT_TRUE(exitsWithZero(viewer, std::chrono::seconds(10)));
}

}  // namespace
}  // namespace reliability
