// The tick count and the performance counter.

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

LONGLONG counter() {
    LARGE_INTEGER count;
    EXPECT_TRUE(QueryPerformanceCounter(&count));
    return count.QuadPart;
}

TEST(Time, ThePerformanceCounterRunsAtTenMegahertzWithoutGoingBack) {
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 10000000);

    LONGLONG previous = counter();
    for (int i = 0; i < 10000; ++i) {
        LONGLONG next = counter();
        ASSERT_GE(next, previous);
        previous = next;
    }

    auto start = std::chrono::steady_clock::now();
    LONGLONG first = counter();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    LONGLONG last = counter();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_NEAR((last - first) / 1e7, elapsed.count(), 0.002);
}

TEST(Time, TheTickCountCountsMilliseconds) {
    DWORD first = GetTickCount();
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    DWORD last = GetTickCount();
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    // Unsigned difference: right across the wrap at 2^32 too.
    EXPECT_NEAR(static_cast<double>(static_cast<DWORD>(last - first)), elapsed.count(), 3.0);
}

}  // namespace
