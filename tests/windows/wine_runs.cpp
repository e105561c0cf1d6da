// The Windows build as a user meets it under Wine: verrine.exe started in
// the folder its download unpacked to, driven with real keys and the mouse
// on an X server of its own per case, and ended each way a user ends it;
// wine_tools.cpp runs the tools of the same download.
// tests/windows/run-wine-tests.sh unpacks the download, makes the Wine prefix
// and runs this program with
//   VERRINE_WINE_FOLDER     the download's top folder: verrine.exe, resources/
//   VERRINE_WINE_ARTEFACTS  where screenshots, standard error and the
//                           console's text are kept
//   WINEPREFIX              the prefix, passed on to Wine.
// A Wine window is an X window: with Windows 10's frame sizes in the prefix
// it has the Linux build's geometry, and the driver finds its menu bar,
// popups and client area as it finds the toolkit's.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <thread>

#include "tests/reliability/viewer_checks.h"
#include "tests/support/viewer_driver.h"

namespace fs = std::filesystem;
using reliability::exitsWithZero;
using reliability::fileText;
using reliability::samePicture;
using Marks = std::vector<bool>;

namespace {

// Wine starts its own processes with the first program of a prefix.
constexpr auto kWineTimeout = std::chrono::seconds(60);
constexpr int kShowAxis = 1;
// Start-up: "Show Base Plane" and "Show Rotation Point" are on.
const Marks kStartUpDebugMarks = {false, false, true, false, true};
const Marks kWithAxisMarks = {false, true, true, false, true};

fs::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string without(std::string text, char unwanted) {
    text.erase(std::remove(text.begin(), text.end(), unwanted), text.end());
    return text;
}

// Each shader file gives its path and then its text, in reading order.
// Standard error is a text stream on Windows: its lines end in CR LF.
std::string expectedTraces(const fs::path& folder) {
    std::string traces;
    for (const char* name : {"testVertex", "testFragment", "edgeVertex", "edgeFragment"}) {
        std::string path = std::string("resources/shaders/") + name + ".txt";
        traces += "--- File import path ---\n" + path + "\n--- Shader text ---\n" + fileText(folder / path);
    }
    return without(traces, '\r');
}

// The viewer's next still picture that meets the wish, within 10 s; empty if
// none does.
Image stillPictureWhere(ViewerDriver& viewer, const std::function<bool(const Image&)>& wish) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        Image picture = viewer.stillClient();
        if (!picture.empty() && wish(picture)) return picture;
    }
    return {};
}

class WineRuns : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_regular_file(folder_ / "verrine.exe") && fs::is_directory(artefacts_))
            << "VERRINE_WINE_FOLDER must name the unpacked download and VERRINE_WINE_ARTEFACTS a folder;"
               " tests/windows/run-wine-tests.sh sets both";
        // No Wine process of the last case, whose X server is gone, lingers.
        ASSERT_EQ(std::system("wineserver -k 2>/dev/null; wineserver -w"), 0);
    }

    ViewerLaunch wine(const fs::path& folder) const {
        ViewerLaunch how;
        how.wrapper = {"/usr/bin/wine"};
        how.program = (folder / "verrine.exe").string();
        how.workingDirectory = folder;
        how.startTimeout = kWineTimeout;
        how.wineMenus = true;
        return how;
    }

    void keep(const Image& picture, const std::string& name) const { writePng(picture, artefacts_ / name); }
    void keepStandardError(const ViewerDriver& viewer, const std::string& run) const {
        std::ofstream(artefacts_ / ("stderr-" + run + ".txt"), std::ios::binary) << viewer.standardError();
    }

    const fs::path folder_ = fromEnvironment("VERRINE_WINE_FOLDER");
    const fs::path artefacts_ = fromEnvironment("VERRINE_WINE_ARTEFACTS");
};

TEST_F(WineRuns, KeysAndTheDebugMenuChangeThePictureAndEscapeEndsWithStatusZero) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch(wine(folder_)));
    keepStandardError(viewer, "keys-and-menu");
    EXPECT_EQ(without(viewer.standardError(), '\r'), expectedTraces(folder_))
        << "the eight start-up traces, and no failure report or word from freeglut";
    keep(viewer.captureWindow(), "start.png");
    const Image start = viewer.stillClient();
    auto changed = [&](const Image& picture) { return !samePicture(picture, start); };

    viewer.tapKey("2");
    EXPECT_FALSE(stillPictureWhere(viewer, changed).empty()) << "key 2 did not change the picture";
    keep(viewer.captureWindow(), "key-2.png");
    viewer.tapKey("1");
    EXPECT_FALSE(stillPictureWhere(viewer, std::not_fn(changed)).empty())
        << "key 1 did not bring the first picture back";

    EXPECT_EQ(viewer.readCheckMarks(ViewerDriver::Menu::Debug), kStartUpDebugMarks);
    ASSERT_TRUE(viewer.chooseMenuItem(ViewerDriver::Menu::Debug, kShowAxis));
    EXPECT_FALSE(stillPictureWhere(viewer, changed).empty()) << "Show Axis did not change the picture";
    keep(viewer.captureWindow(), "show-axis.png");
    EXPECT_EQ(viewer.readCheckMarks(ViewerDriver::Menu::Debug), kWithAxisMarks)
        << "Show Axis gets its check mark, and only it";

    viewer.tapKey("Escape");
    EXPECT_TRUE(exitsWithZero(viewer, std::chrono::seconds(30)));
}

TEST_F(WineRuns, TheWindowManagersCloseRequestEndsWithStatusZero) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.launch(wine(folder_)));
    keepStandardError(viewer, "close-request");
    EXPECT_EQ(without(viewer.standardError(), '\r'), expectedTraces(folder_));
    viewer.requestClose();
    EXPECT_TRUE(exitsWithZero(viewer, std::chrono::seconds(30)));
}

// A GUI program started from a console has no standard error on Windows; the
// viewer then writes to the console it was started from. Under Wine a program
// that cmd starts itself inherits cmd's handles, so `start /wait` starts it
// the way Windows starts a GUI program, without them. `script` gives Wine a
// terminal, so that cmd has a console of its own; the console draws the text
// with terminal escapes, and may move the cursor for spaces.
TEST_F(WineRuns, ABrokenShadersReportReachesTheConsoleOfCmd) {
    ViewerDriver viewer;
    const fs::path copy = viewer.workingDirectory() / "Verrine broken";
    fs::copy(folder_, copy, fs::copy_options::recursive);
    std::ofstream(copy / "resources/shaders/testFragment.txt")
        << "#version 110\nvoid main() { gl_FragColor = undeclared; }\n";
    const fs::path console = artefacts_ / "console-broken-shader.txt";
    ViewerLaunch how = wine(copy);
    how.wrapper.clear();
    how.program = "/usr/bin/script";
    how.arguments = {"-q", "-e", "-f", "-c", "wine cmd /c start /wait verrine.exe", console};
    ASSERT_TRUE(viewer.launch(how));

    auto consoleText = [&] {
        return without(without(std::regex_replace(fileText(console), std::regex("\x1b\\[[0-9;?]*[a-zA-Z]"), ""),
                               '\r'), ' ');
    };
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (consoleText().find("Shadercompilationfailed.Printinglog:") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_NE(consoleText().find("Shadercompilationfailed.Printinglog:"), std::string::npos)
        << "no compile report on cmd's console; it shows:\n" << consoleText();
    viewer.tapKey("Escape");
    EXPECT_TRUE(exitsWithZero(viewer, std::chrono::seconds(30)));
}

}  // namespace
