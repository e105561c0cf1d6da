// The viewer as it starts: its window, and what it writes to standard
// error: the traces of reading its four shader files, and compile reports
// only when a file is broken.

#include <fstream>
#include <sstream>
#include <vector>

#include "tests/support/viewer_driver.h"

namespace {

const char* const kShaderFiles[] = {"testVertex", "testFragment", "edgeVertex", "edgeFragment"};
const char* const kFailureReports[] = {"Shader compilation failed. Printing log:",
                                       "Shader failed to correctly initialize.",
                                       "Shader program link failed. Printing log:"};

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Two traces a file, in reading order: its path, then its text ending in a
// line feed.
std::string expectedTraces() {
    std::string traces;
    for (const char* name : kShaderFiles) {
        std::string path = std::string("resources/shaders/") + name + ".txt";
        std::string text = fileText(std::string(VERRINE_SOURCE_DIR) + "/" + path);
        if (text.empty() || text.back() != '\n') text += '\n';
        traces += "--- File import path ---\n" + path + "\n--- Shader text ---\n" + text;
    }
    return traces;
}

// There is no window manager on the test's X server, so the toolkit window
// stands where the platform layer puts it: the outer 500 x 495 at (20, 40)
// less a nominal 8 px border and 31 px caption, with the 20 px menu bar
// above the client area.
TEST(Startup, OpensTheWindowVerrineOfClassVerrineWithTheMenuBarAboveTheClientArea) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    EXPECT_EQ(viewer.windowClassInstance(), "verrine");
    auto placement = [](const Rect& area) { return std::vector<int>{area.x, area.y, area.width, area.height}; };
    EXPECT_EQ(placement(viewer.windowArea()), (std::vector<int>{28, 71, 484, 456}));
    EXPECT_EQ(placement(viewer.clientArea()), (std::vector<int>{28, 91, 484, 436}));
}

TEST(Startup, TracesTheFourShaderFilesInOrderAndReportsNoFailure) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch());
    std::string output = viewer.standardError();
    EXPECT_EQ(output, expectedTraces());
    for (const char* report : kFailureReports) EXPECT_EQ(output.find(report), std::string::npos) << report;
}

TEST(Startup, BrokenShaderIsReportedAndTheViewerRunsOn) {
    ViewerDriver viewer;
    std::ofstream(viewer.workingDirectory() / "resources/shaders/testFragment.txt")
        << "#version 110\nvoid main() { gl_FragColor = undeclared; }\n";
    ASSERT_TRUE(viewer.launch());
    std::string output = viewer.standardError();
    EXPECT_NE(output.find(kFailureReports[0]), std::string::npos) << output;
    // All four files are still read, and the toon mode can still be chosen.
    EXPECT_NE(output.find("resources/shaders/edgeFragment.txt"), std::string::npos);
    viewer.tapKey("2");
    EXPECT_FALSE(viewer.stillClient().empty());
    viewer.tapKey("Escape");
    EXPECT_EQ(viewer.waitForExit(std::chrono::seconds(5)), 0);
}

}  // namespace
