// The viewer on weak drivers and displays: an OpenGL below 2.0, with and
// without the shader extensions, draws every mode with the fixed pipeline;
// an X server without a fitting visual ends the viewer with one line and
// status 1. (A missing or unreachable display is covered with the entry
// point's own tests.)

#include <sys/wait.h>

#include <cstdio>

#include "tests/reliability/viewer_checks.h"

namespace reliability {
namespace {

struct WeakDriver {
    const char* name;
    std::vector<std::string> environment;
};

// Test lists show each case by its name.
void PrintTo(const WeakDriver& driver, std::ostream* out) { *out << driver.name; }

class BelowOpenGL20 : public ::testing::TestWithParam<WeakDriver> {};

// Each shader: not created, then a compile report with an empty log; each
// program: a link report.
TEST_P(BelowOpenGL20, EveryModeDrawsWithTheFixedPipeline) {
    ViewerDriver viewer;
    ViewerLaunch how;
    how.environment = GetParam().environment;
    how.startTimeout = std::chrono::seconds(60);
    ASSERT_TRUE(viewer.launch(how));

    const std::string output = viewer.standardError();
    EXPECT_EQ(occurrences(output, "Shader failed to correctly initialize.\n"), 4u) << output;
    EXPECT_EQ(occurrences(output, "Shader compilation failed. Printing log:\n"
                                  "--------------------------------------------------------------\n"
                                  "Shader "),
              4u)
        << "each compile report with an empty log, followed by the next report";
    EXPECT_EQ(occurrences(output, "Shader program link failed. Printing log:\n"), 2u);

    Image fixedPipeline = viewer.stillClient();
    ASSERT_FALSE(fixedPipeline.empty());
    EXPECT_TRUE(samePicture(pictureInMode(viewer, "2"), fixedPipeline));
    EXPECT_TRUE(samePicture(pictureInMode(viewer, "3"), fixedPipeline));
    EXPECT_TRUE(keepsDrawing(viewer));
    EXPECT_TRUE(quitsOnEscape(viewer));
}

const WeakDriver kWeakDrivers[] = {
    {"Version15", {"MESA_GL_VERSION_OVERRIDE=1.5"}},
    {"Version15WithoutShaderExtensions",
     {"MESA_GL_VERSION_OVERRIDE=1.5",
      "MESA_EXTENSION_OVERRIDE=-GL_ARB_shader_objects -GL_ARB_vertex_shader -GL_ARB_fragment_shader"}},
};

INSTANTIATE_TEST_SUITE_P(Reliability, BelowOpenGL20, ::testing::ValuesIn(kWeakDrivers),
                         [](const ::testing::TestParamInfo<WeakDriver>& info) { return info.param.name; });

struct Screen {
    const char* name;
    const char* serverArguments;
};

void PrintTo(const Screen& screen, std::ostream* out) { *out << screen.name; }

class WithoutAFittingVisual : public ::testing::TestWithParam<Screen> {};

// xvfb-run gives the viewer an X server of its own with the screen asked
// for, and passes on the viewer's exit status.
TEST_P(WithoutAFittingVisual, ViewerSaysSoOnOneLineAndExitsWithOne) {
    std::string command = std::string("xvfb-run -a -s '") + GetParam().serverArguments + "' " +
                          VERRINE_VIEWER_PATH + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_EQ(occurrences(output, "\n"), 1u) << output;
    EXPECT_EQ(output.back(), '\n');
    EXPECT_NE(output.find("OpenGL"), std::string::npos) << output;
}

// At 8 bits the server offers no GLX at all. At 16 bits it offers GLX
// visuals, but without the Composite extension's 32-bit one none has 24
// colour bits. -noreset: a server that resets when its last client leaves
// signals xvfb-run again, and one time in twenty that lands while xvfb-run
// cleans up, which then ends with status 5 and a line of its own.
const Screen kScreens[] = {
    {"EightBitScreen", "-screen 0 640x480x8 -noreset"},
    {"SixteenBitScreenOnly", "-screen 0 640x480x16 -extension Composite -noreset"},
};

INSTANTIATE_TEST_SUITE_P(Reliability, WithoutAFittingVisual, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<Screen>& info) { return info.param.name; });

}  // namespace
}  // namespace reliability
