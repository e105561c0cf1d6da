#include "bench/process_clocks.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

double secondsOf(clockid_t clock) {
    timespec now = {};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Fields of /proc/<pid>/stat are numbered from 1; the command name is field 2
// and the start time field 22.
constexpr int kStartTimeField = 22;
constexpr int kFirstFieldAfterName = 3;

}  // namespace

double wallSeconds() { return secondsOf(CLOCK_MONOTONIC); }

double processCpuSeconds() { return secondsOf(CLOCK_PROCESS_CPUTIME_ID); }

double threadCpuSeconds() { return secondsOf(CLOCK_THREAD_CPUTIME_ID); }

long long startTicksFromStatLine(const std::string& line) {
    const std::size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) return -1;
    std::istringstream fields(line.substr(nameEnd + 1));
    std::string field;
    for (int number = kFirstFieldAfterName; number < kStartTimeField; ++number) {
        if (!(fields >> field)) return -1;
    }
    long long ticks = -1;
    if (!(fields >> ticks) || ticks < 0) return -1;
    return ticks;
}

double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const long long startTicks = startTicksFromStatLine(line);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (startTicks < 0 || ticksPerSecond <= 0) return -1.0;
    // The kernel counts the start time on the boot-time clock, which keeps
    // running through suspend, unlike CLOCK_MONOTONIC.
    return secondsOf(CLOCK_BOOTTIME) - static_cast<double>(startTicks) / static_cast<double>(ticksPerSecond);
}

double peakResidentMiB() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    // Linux reports ru_maxrss in KiB.
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}
