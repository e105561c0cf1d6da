// Preloaded into the viewer (LD_PRELOAD), holds its buffer swaps to the pace
// of a 60 Hz display with vertical sync, as a desktop driver does: after
// each swap the caller waits for the next tick of a 1/60 s clock. Xvfb has no
// vertical blank of its own, so without this the viewer runs at hundreds of
// frames a second and no backlog of input can show.
//
// The wait comes after the real swap, as with a driver that presents at once
// and then blocks until the blank: input that arrives during the wait is
// taken by the next frame, not by one already drawn.

#include <dlfcn.h>
#include <errno.h>
#include <time.h>

#include <cstdint>

#include <GL/glx.h>

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;
constexpr int64_t kTick = kNanosecondsPerSecond / 60;

using SwapBuffersFunction = void (*)(Display*, GLXDrawable);

void waitForNextTick() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    int64_t next = (now.tv_sec * kNanosecondsPerSecond + now.tv_nsec) / kTick * kTick + kTick;
    timespec until = {static_cast<time_t>(next / kNanosecondsPerSecond),
                      static_cast<long>(next % kNanosecondsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const auto realSwap = reinterpret_cast<SwapBuffersFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    realSwap(display, drawable);
    waitForNextTick();
}
