// The real viewer under real X input: a flood of drag moves leaves a sane
// picture; quitting in the middle of a held key or of a drag ends the
// process with status 0; at a vsync'd desktop's 60 frames a second, the
// camera stops and Escape ends the viewer within a few frames however busy
// the input was; a key released while another program has the focus does
// not leave the camera flying.

#include <cmath>
#include <cstdio>
#include <random>

#include "tests/reliability/viewer_checks.h"

namespace reliability {
namespace {

constexpr int kShowRotationPointItem = 4;
// One message a frame must not let input pile up: the frames a release or
// Escape may wait behind what is still queued.
constexpr int kFrameBudget = 3;

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
    viewer.setLeftButton(true);

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

// A busy hand, for some seconds: U held down (its key repeats), a drag at a
// thousand moves a second in circles over the client area, and a wheel
// notch every quarter second, turned back and forth. The button and the key
// stay down when it returns.
// Two seconds are plenty: the backlog grows with the time. With the layer's
// merging of mouse moves taken out, one second of this left the camera
// moving 9 frames after the release at 60 Hz, and 1.5 s left it 15 (Escape:
// 7 and 10 frames), against a budget of 3.
constexpr auto kBusyInputTime = std::chrono::seconds(2);

void busyInput(ViewerDriver& viewer, std::chrono::milliseconds duration) {
    const int centreX = viewer.clientWidth() / 2;
    const int centreY = viewer.clientHeight() / 2;
    constexpr int kRadius = 100;
    viewer.moveMouse(centreX + kRadius, centreY);
    viewer.setLeftButton(true);
    viewer.keyDown("u");
    const auto start = std::chrono::steady_clock::now();
    for (int move = 1; std::chrono::steady_clock::now() - start < duration; ++move) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(move));
        double angle = move * 0.02;
        viewer.moveMouse(centreX + static_cast<int>(kRadius * std::cos(angle)),
                         centreY + static_cast<int>(kRadius * std::sin(angle)));
        if (move % 250 == 0) viewer.turnWheel(move % 500 == 0 ? -1 : 1);
    }
}

struct FrameRate {
    const char* name;
    std::vector<std::string> environment;
    // Input sent just after a frame at 60 Hz reaches the viewer before the
    // next frame starts; unpaced, it can land while a frame is drawn, and
    // that frame still comes.
    int framesUnderWay;
};

void PrintTo(const FrameRate& rate, std::ostream* out) { *out << rate.name; }

class BusyInput : public ::testing::TestWithParam<FrameRate> {
protected:
    // Launched with the rotation-point marker off: it shows in every frame
    // in which the camera moved, so it would change the picture once more
    // after the camera stops.
    void SetUp() override {
        ViewerLaunch how = patientLaunch();
        how.environment = GetParam().environment;
        ASSERT_TRUE(viewer.launch(how));
        ASSERT_TRUE(viewer.chooseMenuItem(ViewerDriver::Menu::Debug, kShowRotationPointItem));
        ASSERT_FALSE(viewer.stillClient().empty());
    }

    // Sends the next input just after a frame is presented, so that at
    // 60 Hz it reaches the viewer before the next frame starts.
    void afterAFrame() { ASSERT_TRUE(viewer.waitForFrames(1, std::chrono::seconds(5))); }

    int budget() const { return kFrameBudget + GetParam().framesUnderWay; }

    ViewerDriver viewer;
};

TEST_P(BusyInput, TheCameraStopsWithinThreeFramesOfTheLastRelease) {
    busyInput(viewer, kBusyInputTime);
    afterAFrame();
    viewer.keyUp("u");
    viewer.setLeftButton(false);
    const auto released = std::chrono::steady_clock::now();

    std::optional<ViewerDriver::Settling> settling = viewer.settle(released, 20, std::chrono::seconds(60));
    ASSERT_TRUE(settling) << "the camera never stopped";
    std::printf("%s: the camera stopped %d frames, %lld ms after the last release\n", GetParam().name,
                settling->frames, static_cast<long long>(settling->delay.count()));
    RecordProperty("frames_after_release", settling->frames);
    RecordProperty("ms_after_release", static_cast<int>(settling->delay.count()));
    EXPECT_LE(settling->frames, budget());
}

TEST_P(BusyInput, EscapeEndsTheViewerWithinThreeFrames) {
    busyInput(viewer, kBusyInputTime);
    afterAFrame();
    viewer.keyDown("Escape");
    std::optional<int> frames = viewer.framesUntilExit(std::chrono::seconds(60));
    ASSERT_TRUE(frames) << "still running a minute after Escape";
    std::printf("%s: %d frames after Escape\n", GetParam().name, *frames);
    RecordProperty("frames_after_escape", *frames);
    EXPECT_LE(*frames, budget());
    EXPECT_EQ(viewer.waitForExit(std::chrono::seconds(0)), 0);
}

const FrameRate kFrameRates[] = {
    {"SixtyHertz", {sixtyHertzDisplay()}, 0},
    {"Uncapped", {}, 1},
};

INSTANTIATE_TEST_SUITE_P(Reliability, BusyInput, ::testing::ValuesIn(kFrameRates),
                         [](const ::testing::TestParamInfo<FrameRate>& info) { return info.param.name; });

// Held U, then the focus goes to another program, where U is let go: the
// viewer never sees the release, yet the camera must stop rolling (a roll,
// unlike a flight that leaves the scene behind, changes the picture for as
// long as it lasts). With the focus back, the keys work as before.
// A held key rolls the camera only in the frames drawn while it is down; on
// a busy machine the press and release could otherwise be taken back to
// back, with no frame between them.
void holdThroughFrames(ViewerDriver& viewer, const char* key) {
    viewer.keyDown(key);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(viewer.waitForFrames(kFrameBudget + 1, std::chrono::seconds(30))) << "no frames while " << key << " is held";
}

TEST(LiveInput, AKeyReleasedWhileAnotherProgramHasTheFocusStopsTheCamera) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch(patientLaunch()));
    const Image start = viewer.stillClient();
    holdThroughFrames(viewer, "u");
    viewer.takeFocusAway();
    viewer.keyUp("u");

    const Image stopped = viewer.stillClient();
    ASSERT_FALSE(stopped.empty()) << "the camera rolls on";
    EXPECT_FALSE(samePicture(stopped, start)) << "U never moved the camera";

    viewer.focus();
    holdThroughFrames(viewer, "u");
    viewer.keyUp("u");
    const Image again = viewer.stillClient();
    ASSERT_FALSE(again.empty());
    EXPECT_FALSE(samePicture(again, stopped)) << "U does nothing once the focus is back";
}

}  // namespace
}  // namespace reliability
