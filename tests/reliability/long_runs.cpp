// The long runs, kept out of ctest and run by `make soak`:
//
// Soak: the viewer at full speed for five minutes (VERRINE_SOAK_SECONDS
// shortens it) under seeded random input. Its resident memory may grow by
// less than 1 MiB after the first ten seconds, in which every drawing state
// is met once; its frame count must rise between every two samples; and it
// must end with status 0.
//
// Memcheck: the viewer under valgrind for a few frames of every mode, with
// a short texture and a shader that does not compile, must read no
// uninitialised memory and touch nothing it does not own.

#include <cstdlib>
#include <random>

#include "tests/reliability/viewer_checks.h"

// After gtest: X's macros (None, Bool) clash with its names.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

namespace reliability {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::minutes;
using std::chrono::seconds;

// Counts the frames the viewer presents: every buffer swap draws the whole
// client area once, which the X server reports as one damage rectangle.
class FrameCounter {
public:
    FrameCounter(const std::string& displayName, unsigned long clientWindow)
        : display_(XOpenDisplay(displayName.c_str())) {
        int errorBase = 0;
        if (!display_ || !XDamageQueryExtension(display_, &eventBase_, &errorBase)) return;
        damage_ = XDamageCreate(display_, clientWindow, XDamageReportRawRectangles);
        XSync(display_, False);
    }
    ~FrameCounter() {
        if (display_) XCloseDisplay(display_);
    }
    FrameCounter(const FrameCounter&) = delete;
    FrameCounter& operator=(const FrameCounter&) = delete;

    bool ready() const { return damage_ != 0; }

    // Also called between inputs, so that the server never holds many
    // unread reports for this connection.
    long frames() {
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == eventBase_ + XDamageNotify) ++frames_;
        }
        return frames_;
    }

private:
    Display* display_;
    int eventBase_ = 0;
    Damage damage_ = 0;
    long frames_ = 0;
};

long residentKilobytes(int pid) {
    std::istringstream status(fileText("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

seconds soakDuration() {
    const char* configured = std::getenv("VERRINE_SOAK_SECONDS");
    return seconds(configured ? std::atoi(configured) : 300);
}

// The Debug toggles the random input flips: all but "Rotate Scene".
constexpr int kOtherToggles[] = {0, 1, 2, 4};

// What a person might do, bounded so that the scene stays in view: every
// pan, turn, roll or zoom is undone by its opposite for as long, drags
// orbit about the rotation point, and the other Debug toggles come and go.
class RandomUser {
public:
    explicit RandomUser(ViewerDriver& viewer) : viewer_(viewer), generator_(20261207) {}

    void act() {
        static const char* const kPairs[][2] = {{"w", "s"}, {"a", "d"}, {"e", "c"},
                                               {"i", "k"}, {"j", "l"}, {"u", "o"}};
        switch (pick(0, 5)) {
            case 0: {
                const auto& pair = kPairs[pick(0, 5)];
                milliseconds hold(pick(20, 250));
                viewer_.holdKey(pair[0], hold);
                viewer_.holdKey(pair[1], hold);
                break;
            }
            case 1:
                drag();
                break;
            case 2: {
                int notches = pick(1, 4);
                viewer_.turnWheel(notches);
                viewer_.turnWheel(-notches);
                break;
            }
            case 3:
                viewer_.tapKey(std::to_string(pick(1, 3)));
                break;
            case 4:
                flip(pick(0, 3));
                break;
            default:
                std::this_thread::sleep_for(milliseconds(pick(50, 500)));
                break;
        }
    }

    // The driver builds and caches code for each drawing state the first
    // time it meets it, which takes memory for good. Every state the random
    // input can reach is met here once: each mode with every overlay on,
    // the rotation-point marker after a drag, and each mode with every
    // overlay off.
    void meetEveryDrawingState() {
        for (int round = 0; round < 2; ++round) {
            for (int toggle = 0; toggle < 4; ++toggle) flip(toggle);
            for (const char* mode : {"1", "2", "3"}) {
                viewer_.tapKey(mode);
                drag();
            }
        }
        viewer_.tapKey("1");
    }

    // Back to the state meetEveryDrawingState() left: the fixed pipeline
    // and the Debug toggles as they were. Some states hold a buffer of
    // about 1 MiB while they last, so memory compares only within a state.
    void returnToTheSettledState() {
        for (int toggle = 0; toggle < 4; ++toggle) {
            if (flipped_[toggle]) flip(toggle);
        }
        viewer_.tapKey("1");
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(generator_); }

    void flip(int toggle) {
        EXPECT_TRUE(viewer_.chooseMenuItem(ViewerDriver::Menu::Debug, kOtherToggles[toggle]));
        flipped_[toggle] = !flipped_[toggle];
    }

    void drag() {
        int x = pick(100, viewer_.clientWidth() - 100);
        int y = pick(100, viewer_.clientHeight() - 100);
        viewer_.drag(x, y, x + pick(-90, 90), y + pick(-90, 90), pick(2, 20));
    }

    ViewerDriver& viewer_;
    std::mt19937 generator_;
    bool flipped_[4] = {};
};

// Resident memory when no input is being handled: a menu that was just
// open, or a burst of moves, may hold memory for a moment that it then
// gives back.
long quietResidentKilobytes(int pid, FrameCounter& counter) {
    std::this_thread::sleep_for(seconds(2));
    counter.frames();
    return residentKilobytes(pid);
}

ViewerLaunch patientLaunch() {
    ViewerLaunch how;
    how.startTimeout = seconds(60);
    return how;
}

TEST(Soak, FullSpeedUnderRandomInputWithSteadyMemoryAndRisingFrames) {
    constexpr seconds kSettling(10);
    constexpr seconds kSampleInterval(5);
    constexpr long kAllowedGrowthKilobytes = 1024;

    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch(patientLaunch()));
    const Clock::time_point start = Clock::now();
    const int pid = viewer.processId();
    FrameCounter counter(viewer.displayName(), viewer.clientWindowId());
    ASSERT_TRUE(counter.ready()) << "no damage reports from the X server";
    ASSERT_TRUE(viewer.chooseMenuItem(ViewerDriver::Menu::Debug, kRotateSceneItem));
    RandomUser user(viewer);
    user.meetEveryDrawingState();
    std::this_thread::sleep_until(start + kSettling);
    const long settledKilobytes = quietResidentKilobytes(pid, counter);
    const double settledAt = std::chrono::duration<double>(Clock::now() - start).count();

    // The resident size moves between a few levels as the allocator takes
    // and gives back blocks of a megabyte: a leak shows as the highest
    // level of the second half rising above that of the first.
    const Clock::time_point end = start + soakDuration();
    const Clock::time_point middle = Clock::now() + (end - Clock::now()) / 2;
    long earlyPeakKilobytes = settledKilobytes;
    long latePeakKilobytes = 0;
    long lastFrames = counter.frames();
    Clock::time_point nextSample = Clock::now() + kSampleInterval;
    while (Clock::now() < end) {
        user.act();
        counter.frames();
        if (Clock::now() < nextSample) continue;
        nextSample += kSampleInterval;
        ASSERT_TRUE(viewer.running()) << "the viewer ended during the soak";
        long kilobytes = residentKilobytes(pid);
        long& peakKilobytes = Clock::now() < middle ? earlyPeakKilobytes : latePeakKilobytes;
        peakKilobytes = std::max(peakKilobytes, kilobytes);
        long frames = counter.frames();
        EXPECT_GT(frames, lastFrames) << "no frame presented for " << kSampleInterval.count() << " s";
        lastFrames = frames;
        std::printf("soak: %4.0f s %8ld kB %9ld frames\n",
                    std::chrono::duration<double>(Clock::now() - start).count(), kilobytes, frames);
    }
    user.returnToTheSettledState();
    const long finalKilobytes = quietResidentKilobytes(pid, counter);
    latePeakKilobytes = std::max(latePeakKilobytes, finalKilobytes);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const long frames = counter.frames();
    std::printf("soak: %.0f s, %ld frames (%.0f a second); resident memory %ld kB after %.0f s, %ld kB at "
                "the end, at most %ld kB in the first half and %ld kB in the second\n",
                elapsed, frames, frames / elapsed, settledKilobytes, settledAt, finalKilobytes, earlyPeakKilobytes,
                latePeakKilobytes);
    EXPECT_LT(latePeakKilobytes - earlyPeakKilobytes, kAllowedGrowthKilobytes);
    EXPECT_TRUE(quitsOnEscape(viewer));
}

// llvmpipe compiles its drawing code with LLVM at run time, which memcheck
// runs slower than anything else here and which crashes under it. Mesa's
// softpipe, with its vertex stage told not to use LLVM either, interprets
// instead: the viewer's own code gets the same checks for a fraction of the
// time. Still, start-up takes a minute or more, and a frame about a second.
TEST(Memcheck, ShortTextureAndBrokenShaderReadNoUninitialisedMemory) {
    ViewerDriver viewer;
    const std::filesystem::path resources = viewer.workingDirectory() / "resources";
    std::string texture = fileText(resources / "textures/stripes.raw");
    std::ofstream(resources / "textures/stripes.raw", std::ios::binary | std::ios::trunc)
        << texture.substr(0, texture.size() / 3);
    std::ofstream(resources / "shaders/testFragment.txt", std::ios::trunc)
        << "void main() { gl_FragColor = undeclared; }\n";
    const std::filesystem::path log = viewer.workingDirectory() / "memcheck.log";

    ViewerLaunch how;
    how.environment = {"GALLIUM_DRIVER=softpipe", "DRAW_USE_LLVM=0"};
    how.wrapper = {"/usr/bin/valgrind",
                   "--tool=memcheck",
                   "--error-exitcode=99",
                   "--num-callers=40",
                   "--suppressions=" + std::string(VERRINE_SOURCE_DIR) + "/tests/reliability/memcheck.supp",
                   "--log-file=" + log.string()};
    how.startTimeout = minutes(15);
    ASSERT_TRUE(viewer.launch(how)) << fileText(log);
    for (const char* mode : {"2", "3", "1"}) EXPECT_FALSE(pictureInMode(viewer, mode, minutes(3)).empty());
    viewer.tapKey("Escape");
    std::optional<int> status = viewer.waitForExit(seconds(120));
    const std::string report = fileText(log);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("ERROR SUMMARY: 0 errors"), std::string::npos) << report;
}

}  // namespace
}  // namespace reliability
