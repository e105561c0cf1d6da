// The shading modes: loading, switching, ids without a program, and modes
// whose programs could not be built.
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "shaders/shader_set.h"
#include "tests/shaders/captured_diagnostics.h"
#include "tests/shaders/program_in_use.h"
#include "tests/support/test_window.h"

namespace {

class ShaderSetModes : public ::testing::Test {
protected:
    void SetUp() override { shaders.loadPrograms(); }

    GLuint programOf(ShaderMode mode) const {
        for (const ShaderProgram& entry : shaders.programs) {
            if (entry.mode == mode) return entry.program;
        }
        return 0;
    }

    TestWindow window;
    CapturedDiagnostics captured;
    ShaderSet shaders;
};

// The call-order test runs this case under apitrace and looks for the marker
// to find where loading starts; the context is fresh, so the shader and
// program names handed out start at 1.
TEST(ShaderSetLoading, BuildsThreeEntriesAndUsesTheFixedPipeline) {
    TestWindow window;
    CapturedDiagnostics captured;
    ShaderSet loaded;
    glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_MARKER, 0,
                         GL_DEBUG_SEVERITY_NOTIFICATION, -1, "loadPrograms");
    loaded.loadPrograms();

    ASSERT_EQ(loaded.programs.size(), 3u);
    EXPECT_EQ(loaded.programs[0].mode, kFixedPipelineMode);
    EXPECT_EQ(loaded.programs[1].mode, kToonMode);
    EXPECT_EQ(loaded.programs[2].mode, kEdgeMode);
    EXPECT_EQ(loaded.programs[0].program, 0u);
    EXPECT_NE(loaded.programs[1].program, 0u);
    EXPECT_NE(loaded.programs[2].program, 0u);
    EXPECT_EQ(loaded.currentMode, kFixedPipelineMode);
    EXPECT_EQ(loaded.currentProgram(), 0u);
    EXPECT_EQ(programInUse(), 0u);
    EXPECT_TRUE(captured.reports().empty());
}

TEST_F(ShaderSetModes, SetModePutsTheModesProgramInUse) {
    for (ShaderMode mode : {kToonMode, kEdgeMode, kEdgeMode, kFixedPipelineMode, kToonMode}) {
        shaders.setMode(mode);
        EXPECT_EQ(shaders.currentMode, mode);
        EXPECT_EQ(shaders.currentProgram(), programOf(mode));
        EXPECT_EQ(programInUse(), programOf(mode));
    }
}

TEST_F(ShaderSetModes, IdWithoutProgramKeepsTheProgramInUse) {
    shaders.setMode(kToonMode);
    shaders.setMode(250);
    EXPECT_EQ(shaders.currentMode, 250);
    EXPECT_EQ(shaders.currentProgram(), 0u);
    EXPECT_EQ(programInUse(), programOf(kToonMode));

    shaders.setMode(kEdgeMode);
    EXPECT_EQ(programInUse(), programOf(kEdgeMode));
}

// A live reload replaces a program many times: each replaced program and
// its shaders are deleted, and the active mode draws with the newest.
TEST_F(ShaderSetModes, ReplaceDeletesWhatItReplacesAndKeepsTheActiveModeInUse) {
    const GLuint edge = programOf(kEdgeMode);
    shaders.setMode(kToonMode);
    for (int i = 0; i < 20; ++i) {
        const GLuint old = programOf(kToonMode);
        GLuint oldShaders[2] = {0, 0};
        GLsizei count = 0;
        glGetAttachedShaders(old, 2, &count, oldShaders);
        ASSERT_EQ(count, 2);

        shaders.replace(ShaderProgram(kToonMode, "resources/shaders/testVertex.txt",
                                      "resources/shaders/testFragment.txt"));
        ASSERT_NE(programOf(kToonMode), old);
        EXPECT_EQ(programInUse(), programOf(kToonMode));
        EXPECT_FALSE(glIsProgram(old));
        EXPECT_FALSE(glIsShader(oldShaders[0]) || glIsShader(oldShaders[1]));
    }
    EXPECT_EQ(shaders.programs.size(), 3u);

    // An inactive mode's program is replaced without being put in use.
    shaders.replace(ShaderProgram(kEdgeMode, "resources/shaders/edgeVertex.txt",
                                  "resources/shaders/edgeFragment.txt"));
    EXPECT_FALSE(glIsProgram(edge));
    EXPECT_EQ(programInUse(), programOf(kToonMode));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Only the edge sources are present: the toon program fails to link, is
// reported, and choosing it leaves the edge program in use.
TEST(ShaderSetMissingFiles, ModeWithoutSourcesKeepsThePreviousProgram) {
    TestWindow window;
    ScratchFolder folder;
    const std::filesystem::path shaderFolder = folder.path() / "resources/shaders";
    std::filesystem::create_directories(shaderFolder);
    for (const char* name : {"edgeVertex.txt", "edgeFragment.txt"}) {
        std::filesystem::copy_file(std::filesystem::path("resources/shaders") / name,
                                   shaderFolder / name);
    }
    const std::filesystem::path repository = std::filesystem::current_path();
    ASSERT_EQ(chdir(folder.path().c_str()), 0);
    CapturedDiagnostics captured;
    ShaderSet shaders;
    shaders.loadPrograms();
    ASSERT_EQ(chdir(repository.c_str()), 0);

    const GLuint edge = shaders.programs[2].program;
    shaders.setMode(kEdgeMode);
    shaders.setMode(kToonMode);
    EXPECT_EQ(shaders.currentMode, kToonMode);
    EXPECT_EQ(programInUse(), edge);

    ASSERT_FALSE(captured.reports().empty());
    EXPECT_EQ(captured.reports().back().rfind(kLinkReportHeader, 0), 0u) << captured.reports().back();
}

}  // namespace
