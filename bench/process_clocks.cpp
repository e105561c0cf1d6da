#include "bench/process_clocks.h"

#include <time.h>

#include <fstream>
#include <string>

namespace {

double secondsOf(clockid_t clock) {
    timespec now = {};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

double wallSeconds() { return secondsOf(CLOCK_MONOTONIC); }

double processCpuSeconds() { return secondsOf(CLOCK_PROCESS_CPUTIME_ID); }

double threadCpuSeconds() { return secondsOf(CLOCK_THREAD_CPUTIME_ID); }

double processorWaitSeconds() {
    // Three numbers: nanoseconds on a processor, nanoseconds waiting in a
    // run queue, time slices.
    std::ifstream schedstat("/proc/thread-self/schedstat");
    long long running = 0;
    long long waiting = 0;
    if (!(schedstat >> running >> waiting) || waiting < 0) return 0.0;
    return static_cast<double>(waiting) * 1e-9;
}

// VmHWM, not getrusage's ru_maxrss: Linux carries ru_maxrss over an exec,
// so a program that the benchmark itself starts would report at least the
// benchmark's own peak. VmHWM belongs to the address space the exec made.
double peakResidentMiB() {
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        if (name == "VmHWM:") {
            long kibibytes = -1;
            status >> kibibytes;
            return kibibytes < 0 ? -1.0 : static_cast<double>(kibibytes) / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1.0;
}
