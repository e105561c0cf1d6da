// A driver below OpenGL 2.0: every shader entry point does nothing and
// returns 0, so every mode draws with the fixed pipeline. Mesa is told to
// offer less before the context is made. The entry points are chosen once per
// process, so each check runs in a fresh copy of this test program.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shaders/shader_set.h"
#include "tests/shaders/captured_diagnostics.h"
#include "tests/support/test_window.h"

namespace {

// Runs the check in a new process started from this program, with the
// driver's version lowered to 1.5 and, if given, extensions removed. The
// check's failures show in the child's output and fail the case.
void inProcessBelow20(void (*check)(), const char* removedExtensions = nullptr) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("MESA_GL_VERSION_OVERRIDE", "1.5", 1);
            if (removedExtensions) setenv("MESA_EXTENSION_OVERRIDE", removedExtensions, 1);
            check();
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

const char kInitFailure[] = "Shader failed to correctly initialize.";

// Each shader: not created, then a compile report with an empty log; each
// program: a link report with an empty log. Toon first, then edge.
std::vector<std::string> expectedReports() {
    std::vector<std::string> reports;
    for (int program = 0; program < 2; ++program) {
        reports.insert(reports.end(), {kInitFailure, kCompileReportHeader, kInitFailure,
                                       kCompileReportHeader, kLinkReportHeader});
    }
    return reports;
}

// Puts a program in use through GL_ARB_shader_objects, which the guard leaves
// alone: whatever the viewer's calls do to the program in use shows on it.
void useProgramThroughExtension() {
    const char* vertex = "void main() { gl_Position = ftransform(); }";
    const char* fragment = "void main() { gl_FragColor = vec4(1.0); }";
    GLhandleARB program = glCreateProgramObjectARB();
    for (auto [type, source] : {std::pair{GL_VERTEX_SHADER_ARB, vertex},
                                std::pair{GL_FRAGMENT_SHADER_ARB, fragment}}) {
        GLhandleARB shader = glCreateShaderObjectARB(type);
        glShaderSourceARB(shader, 1, &source, nullptr);
        glCompileShaderARB(shader);
        glAttachObjectARB(program, shader);
    }
    glLinkProgramARB(program);
    glUseProgramObjectARB(program);
}

bool versionIs15() {
    return std::string(reinterpret_cast<const char*>(glGetString(GL_VERSION))).rfind("1.5", 0) == 0;
}

// Loads the modes and checks the reports and the names; returns the set.
ShaderSet loadWithoutShaders() {
    CapturedDiagnostics captured;
    ShaderSet shaders;
    shaders.loadPrograms();
    EXPECT_EQ(captured.reports(), expectedReports());
    EXPECT_EQ(shaders.programs.size(), 3u);
    for (const ShaderProgram& entry : shaders.programs) EXPECT_EQ(entry.program, 0u);
    EXPECT_EQ(glCreateShader(GL_VERTEX_SHADER), 0u);
    EXPECT_EQ(glCreateProgram(), 0u);
    return shaders;
}

void checkShaderCallsDoNothing() {
    TestWindow window;
    ASSERT_TRUE(versionIs15());
    useProgramThroughExtension();
    const GLhandleARB inUse = glGetHandleARB(GL_PROGRAM_OBJECT_ARB);
    ASSERT_NE(inUse, 0u);

    ShaderSet shaders = loadWithoutShaders();
    for (ShaderMode mode : {kToonMode, kEdgeMode, kFixedPipelineMode}) {
        shaders.setMode(mode);
        EXPECT_EQ(shaders.currentProgram(), 0u);
        EXPECT_EQ(glGetHandleARB(GL_PROGRAM_OBJECT_ARB), inUse) << "mode " << mode;
    }
    EXPECT_EQ(glGetUniformLocation(inUse, "CAMERA_POSITION"), 0);
}

TEST(BelowOpenGL20, ShaderCallsDoNothingAndEveryModeUsesTheFixedPipeline) {
    inProcessBelow20(checkShaderCallsDoNothing);
}

void checkLoadingWithoutShaders() {
    TestWindow window;
    ASSERT_TRUE(versionIs15());
    ShaderSet shaders = loadWithoutShaders();
    shaders.setMode(kToonMode);
    EXPECT_EQ(shaders.currentProgram(), 0u);
}

// libepoxy alone would stop the process at the first glCreateShader, finding
// no provider for it.
TEST(BelowOpenGL20, WithoutShaderExtensionsNothingStops) {
    inProcessBelow20(checkLoadingWithoutShaders,
                     "-GL_ARB_shader_objects -GL_ARB_vertex_shader -GL_ARB_fragment_shader");
}

}  // namespace
