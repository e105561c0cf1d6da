// The frame-rate text and the counter arithmetic behind it.

#include <chrono>

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/frame_timer.h"
#include "app/viewer.h"
#include "tests/app/app_fixture.h"

namespace {

TEST(FpsText, KeepsTheFirstSixCharactersOfTheStreamText) {
    struct Case {
        double rate;
        const char* shown;
    };
    const Case cases[] = {
        {59.94012, "FPS: 59.940"},
        {60.0, "FPS: 60"},
        {1234.5678, "FPS: 1234.5"},
        {123.4567, "FPS: 123.45"},   // cut, not rounded again
        {0.0, "FPS: 0"},
        {1.5e-7, "FPS: 1.5e-0"},     // exponent notation keeps six characters too
        {2.5e7, "FPS: 2.5e+0"},
    };
    for (const Case& c : cases) EXPECT_EQ(fpsText(c.rate), c.shown) << c.rate;
}

FrameTimer timerWith(std::int64_t frequency, std::int64_t start, std::int64_t stop) {
    FrameTimer timer;
    timer.frequency.QuadPart = frequency;
    timer.startCount.QuadPart = start;
    timer.stopCount.QuadPart = stop;
    return timer;
}

TEST(FrameTimer, RateOfOneFrameFromTheLowHalvesOfTheCounter) {
    EXPECT_DOUBLE_EQ(timerWith(10000000, 1000, 1000 + 166667).framesPerSecond(), 10000000.0 / 166667);
    // A carry out of the low 32 bits between start and stop.
    const std::int64_t start = 0x1FFFFFF00LL;
    EXPECT_DOUBLE_EQ(timerWith(10000000, start, start + 0x200).framesPerSecond(), 10000000.0 / 0x200);
    // Only the low half of the frequency counts.
    EXPECT_DOUBLE_EQ(timerWith(0x100000000LL + 1000, 0, 10).framesPerSecond(), 100.0);
}

TEST(FrameTimer, MeasuresARealFrame) {
    FrameTimer timer;
    EXPECT_EQ(timer.frequency.QuadPart, 10000000);
    timer.startFrame();
    timer.stopFrame();
    timer.stopCount.QuadPart += 100000;  // at least 10 ms, so the rate stays finite and below 100
    EXPECT_GT(timer.framesPerSecond(), 0.0);
    EXPECT_LE(timer.framesPerSecond(), 100.0);
}

// The loop stores the measured rate only in frames that end on a tick count
// divisible by 40. The loop reads the tick after the swap, somewhere between
// the two reads around runFrame.
TEST_F(AppTest, FrameLoopStoresTheRateOnTicksDivisibleByForty) {
    if (!frameTimer) frameTimer = new FrameTimer();
    MSG message = {};
    int stored = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (stored < 3 && std::chrono::steady_clock::now() < deadline) {
        application->fps = -1.0;
        const DWORD before = GetTickCount();
        ASSERT_TRUE(runFrame(window->deviceContext(), &message));
        const DWORD after = GetTickCount();
        const bool onMultiple = after / 40 != before / 40 || before % 40 == 0;
        if (application->fps != -1.0) {
            ++stored;
            EXPECT_TRUE(onMultiple) << "stored between ticks " << before << " and " << after;
        } else if (before == after) {
            EXPECT_NE(before % 40, 0u) << "not stored at tick " << before;
        }
    }
    EXPECT_EQ(stored, 3) << "the rate was stored too rarely";
}

}  // namespace
