// The installed layout: `cmake --install` into a temporary prefix, then the
// installed viewer and check started from somewhere else entirely.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "tests/support/private_x_server.h"
#include "tests/tools/tool_process.h"

namespace {

namespace fs = std::filesystem;

class InstalledVerrine : public testing::Test {
protected:
    // Cases install at the same time, each into its own prefix.
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
    // Escape in it and returns how the viewer ended. The window is found by
    // its title, so the viewer gets an X server of its own, where no other
    // test's window can answer.
    ProcessResult runViewerFromElsewhere(const std::string& launcher) {
        PrivateXServer server("/dev/null");
        EXPECT_TRUE(server.ready()) << "cannot start an Xvfb for the viewer";
        setenv("DISPLAY", server.name().c_str(), 1);
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
    for (const char* program : {"bin/verrine", "bin/verrine-check", "bin/verrine-shot", "bin/verrine-live",
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

// The width and height a PNG file's header gives, or 0 x 0 when it is none.
std::pair<unsigned, unsigned> pngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    const auto bigEndian = [&png](size_t at) {
        unsigned value = 0;
        for (size_t i = at; i < at + 4; ++i) value = value << 8 | static_cast<unsigned char>(png[i]);
        return value;
    };
    return {bigEndian(16), bigEndian(20)};
}

// What `man`, menus and software centres read: every program in bin/ has its
// manual page, compressed, with its synopsis, and is listed in the AppStream
// metadata, whose desktop entry is the installed one; the entry's icon is in
// the hicolor theme at each size.
TEST_F(InstalledVerrine, DescribesEveryProgramToManAndToDesktops) {
    const fs::path prefix = prefix_.path();
    const fs::directory_iterator metainfoFiles(prefix / "share/metainfo");
    ASSERT_NE(metainfoFiles, fs::directory_iterator()) << "no AppStream metadata";
    const std::string metainfo = readWholeFile(*metainfoFiles);
    for (const fs::directory_entry& installed : fs::directory_iterator(prefix / "bin")) {
        const std::string program = installed.path().filename();
        const ProcessResult page =
            runProgram({"/bin/gzip", "-dc", prefix / "share/man/man1" / (program + ".1.gz")});
        EXPECT_EQ(page.status, 0) << program << ": " << page.err;
        std::string title = program;
        for (char& letter : title) letter = static_cast<char>(toupper(letter));
        // The tools' synopses come from their usage, which help2man reads
        // only in one form.
        EXPECT_NE(("\n" + page.out).find("\n.TH " + title + " "), std::string::npos)
            << program << ":\n" << page.out.substr(0, 400);
        EXPECT_NE(page.out.find("\n.SH SYNOPSIS\n.B " + program + "\n"), std::string::npos)
            << program << ":\n" << page.out.substr(0, 400);
        EXPECT_NE(metainfo.find("<binary>" + program + "</binary>"), std::string::npos) << program;
    }
    const std::string launchable = "<launchable type=\"desktop-id\">";
    const size_t entryName = metainfo.find(launchable);
    ASSERT_NE(entryName, std::string::npos) << metainfo;
    const std::string entry = metainfo.substr(entryName + launchable.size(),
                                              metainfo.find('<', entryName + 1) - entryName - launchable.size());
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/applications" / entry)) << entry;

    EXPECT_NE(readWholeFile(prefix / "share/applications/verrine.desktop").find("\nIcon=verrine\n"),
              std::string::npos);
    for (const unsigned size : {48u, 256u}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const std::string icon = readWholeFile(prefix / "share/icons/hicolor" / folder / "apps/verrine.png");
        EXPECT_EQ(pngSize(icon), std::make_pair(size, size)) << folder;
    }
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
