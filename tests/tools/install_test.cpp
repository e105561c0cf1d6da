// The installed layout: `cmake --install` into a temporary prefix, then the
// installed viewer and check started from somewhere else entirely.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/tools/tool_process.h"

namespace {

namespace fs = std::filesystem;

class InstalledVerrine : public testing::Test {
protected:
    void SetUp() override {
        const ProcessResult install = runProgram(
            {VERRINE_CMAKE_COMMAND, "--install", VERRINE_BUILD_DIR, "--prefix", prefix_ / ""});
        ASSERT_EQ(install.status, 0) << install.out << install.err;
    }

    // The id of the viewer's top-level window, or "" when none appears in time.
    static std::string waitForViewerWindow() {
        for (int attempt = 0; attempt < 200; ++attempt) {
            const ProcessResult search = runProgram({"/usr/bin/xdotool", "search", "--name", "^Verrine$"});
            if (search.status == 0 && !search.out.empty()) return search.out.substr(0, search.out.find('\n'));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return "";
    }

    // Starts `launcher` from an empty folder, waits for the window, presses
    // Escape in it and returns how the viewer ended.
    ProcessResult runViewerFromElsewhere(const std::string& launcher) {
        ScratchFolder output;
        ChildProcess viewer(capturedInto(output, {launcher}, elsewhere_.path().string()));
        const std::string window = waitForViewerWindow();
        EXPECT_NE(window, "") << "no window titled Verrine appeared";
        if (!window.empty()) runProgram({"/usr/bin/xdotool", "key", "--window", window, "Escape"});
        return finish(viewer, output);
    }

    ScratchFolder prefix_;
    ScratchFolder elsewhere_;
};

TEST_F(InstalledVerrine, PutsEverythingUnderThePrefix) {
    const fs::path prefix = prefix_.path();
    for (const char* program : {"bin/verrine", "bin/verrine-check", "bin/verrine-shot",
                                "libexec/verrine/verrine"}) {
        const fs::perms permissions = fs::status(prefix / program).permissions();
        EXPECT_NE(permissions & fs::perms::owner_exec, fs::perms::none) << program;
    }
    for (const char* data : {"testVertex.txt", "testFragment.txt", "edgeVertex.txt", "edgeFragment.txt"}) {
        EXPECT_EQ(readWholeFile(prefix / "share/verrine/resources/shaders" / data),
                  readWholeFile(fs::path(VERRINE_SOURCE_DIR) / "resources/shaders" / data));
    }
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/verrine/resources/textures/stripes.raw"));

    const std::string entry = readWholeFile(prefix / "share/applications/verrine.desktop");
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"" + (prefix / "bin/verrine").string() + "\"\n"), std::string::npos)
        << entry;
}

TEST_F(InstalledVerrine, ViewerStartedFromElsewhereReadsItsShadersAndQuitsOnEscape) {
    const ProcessResult viewer = runViewerFromElsewhere(prefix_ / "bin/verrine");
    EXPECT_EQ(viewer.status, 0) << viewer.err;
    // Two traces for each of the four files, and no failure report.
    EXPECT_EQ(countOccurrences(viewer.err, "--- File import path ---\nresources/shaders/"), 4)
        << viewer.err;
    EXPECT_EQ(countOccurrences(viewer.err, "--- Shader text ---\n#version"), 4) << viewer.err;
    EXPECT_EQ(viewer.err.find("failed"), std::string::npos) << viewer.err;
}

TEST_F(InstalledVerrine, LauncherWorksThroughASymbolicLink) {
    const fs::path link = elsewhere_.path() / "verrine";
    fs::create_symlink(prefix_.path() / "bin/verrine", link);
    const ProcessResult viewer = runViewerFromElsewhere(link.string());
    EXPECT_EQ(viewer.status, 0) << viewer.err;
    EXPECT_EQ(countOccurrences(viewer.err, "--- Shader text ---\n#version"), 4) << viewer.err;
}

// The installed verrine-shot finds the installed data from wherever it starts.
TEST_F(InstalledVerrine, ToolsWorkOnTheInstalledResources) {
    const ProcessResult shot = runProgram({prefix_ / "bin/verrine-shot", elsewhere_ / "out.png", "--size", "8x8"},
                                          elsewhere_.path().string());
    EXPECT_EQ(shot.status, 0) << shot.err;
    EXPECT_EQ(shot.err, "verrine-shot: the scene's data from " +
                            (fs::canonical(prefix_.path()) / "share/verrine/resources").string() + "\n");

    unsetenv("DISPLAY");
    const ProcessResult check = runProgram({prefix_ / "bin/verrine-check", prefix_ / "share/verrine"},
                                           elsewhere_.path().string());
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

}  // namespace
