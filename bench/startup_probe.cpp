#include "bench/startup_probe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "bench/budgets.h"
#include "bench/process_clocks.h"

extern char** environ;

namespace {

constexpr char kReportWord[] = "probe";
constexpr int kTimeoutMs = 60000;

// Reads the child's whole standard output, or until the deadline.
bool readUntilEnd(int descriptor, std::string* output) {
    const double deadline = wallSeconds() + kTimeoutMs / 1e3;
    char buffer[4096];
    for (;;) {
        const int left = static_cast<int>((deadline - wallSeconds()) * 1e3);
        if (left <= 0) return false;
        pollfd readable = {descriptor, POLLIN, 0};
        const int ready = poll(&readable, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return count == 0;
        output->append(buffer, static_cast<std::size_t>(count));
    }
}

bool parseReport(const std::string& output, double spawned, ProbeFigures* figures) {
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        double firstSwap = 0.0;
        double waiting = 0.0;
        double cpu = 0.0;
        double peak = 0.0;
        if (words >> word >> firstSwap >> waiting >> cpu >> peak && word == kReportWord && peak > 0.0) {
            figures->firstSwapMs = (firstSwap - spawned) * 1e3;
            figures->waitingMs = waiting * 1e3;
            figures->cpuMs = cpu * 1e3;
            figures->peakResidentMiB = peak;
            return true;
        }
    }
    return false;
}

// Each figure's median on its own.
ProbeFigures medianProbe(const std::vector<ProbeFigures>& probes) {
    const auto median = [&](double ProbeFigures::*figure) {
        std::vector<double> values;
        for (const ProbeFigures& probe : probes) values.push_back(probe.*figure);
        return medianOf(values);
    };
    return {median(&ProbeFigures::firstSwapMs), median(&ProbeFigures::waitingMs),
            median(&ProbeFigures::cpuMs), median(&ProbeFigures::peakResidentMiB)};
}

}  // namespace

int runProbe(const std::function<void()>& drawFrame) {
    drawFrame();
    const double firstSwap = wallSeconds();
    const double waiting = processorWaitSeconds();
    const double cpu = processCpuSeconds();
    for (int frame = 1; frame < kProbeFrames; ++frame) drawFrame();
    const double peak = peakResidentMiB();
    // Full precision: the benchmark subtracts its own clock reading.
    std::printf("%s %.6f %.6f %.6f %.3f\n", kReportWord, firstSwap, waiting, cpu, peak);
    return peak > 0.0 ? 0 : 1;
}

bool measureProbe(const std::vector<std::string>& arguments, ProbeFigures* figures) {
    const char* name = arguments.front().c_str();
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "verrine_bench: no pipe for %s: %s\n", name, std::strerror(errno));
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    // The shader sources that both programs trace on standard error.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const double spawned = wallSeconds();
    pid_t child = -1;
    const int failure = posix_spawn(&child, name, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (failure != 0) {
        close(output[0]);
        std::fprintf(stderr, "verrine_bench: cannot start %s: %s\n", name, std::strerror(failure));
        return false;
    }
    std::string report;
    const bool ended = readUntilEnd(output[0], &report);
    close(output[0]);
    if (!ended) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended) {
        std::fprintf(stderr, "verrine_bench: %s did not end within a minute\n", name);
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !parseReport(report, spawned, figures)) {
        std::fprintf(stderr, "verrine_bench: %s ended without its report (%s %d); run it by hand to see why\n",
                     name, WIFEXITED(status) ? "exit status" : "signal",
                     WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
        return false;
    }
    return true;
}

bool measureStartups(const std::vector<std::string>& viewerProbe, const std::vector<std::string>& bareProgram,
                     int pairs, StartupFigures* figures) {
    std::vector<ProbeFigures> viewers(static_cast<std::size_t>(pairs));
    std::vector<ProbeFigures> bares(viewers.size());
    std::vector<double> delays;
    std::vector<double> extras;
    for (std::size_t pair = 0; pair < viewers.size(); ++pair) {
        ProbeFigures& viewer = viewers[pair];
        ProbeFigures& bare = bares[pair];
        const bool viewerFirst = pair % 2 == 0;
        if (viewerFirst && !measureProbe(viewerProbe, &viewer)) return false;
        if (!measureProbe(bareProgram, &bare)) return false;
        if (!viewerFirst && !measureProbe(viewerProbe, &viewer)) return false;
        delays.push_back((viewer.firstSwapMs - viewer.waitingMs) - (bare.firstSwapMs - bare.waitingMs));
        extras.push_back(viewer.peakResidentMiB - bare.peakResidentMiB);
    }
    figures->pairs = pairs;
    figures->viewer = medianProbe(viewers);
    figures->bare = medianProbe(bares);
    figures->firstSwapDelayMs = medianOf(delays);
    figures->extraPeakMiB = medianOf(extras);
    return true;
}
