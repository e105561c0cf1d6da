// The viewer's start without a usable X display: one line, status 1.

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace {

struct ViewerRun {
    std::string output;
    int status;
};

// Runs the built viewer with the given environment prefix, standard error
// and output together.
ViewerRun runViewer(const std::string& environment) {
    std::string command = environment + " " VERRINE_VIEWER_PATH " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ViewerRun run{"", -1};
    if (!pipe) return run;
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe)) run.output += buffer;
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Entry, WithoutDisplayTheViewerSaysSoOnOneLineAndExitsWithOne) {
    ViewerRun run = runViewer("env -u DISPLAY");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "verrine: cannot open the X display (DISPLAY is not set)\n");
}

TEST(Entry, WithAnUnreachableDisplayTheViewerNamesIt) {
    ViewerRun run = runViewer("env DISPLAY=:97");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "verrine: cannot open the X display \":97\" (is DISPLAY set?)\n");
}

}  // namespace
