// The Windows build as a user meets it under Wine: verrine.exe started in
// the folder its download unpacked to, driven with real keys and the mouse
// on an X server of its own per case, and ended each way a user ends it;
// verrine-live.exe following saves; and verrine-check.exe and
// verrine-shot.exe from the same folder, on the Linux tools' cases that hold
// on Windows.
// tests/windows/run-wine-tests.sh unpacks the download, makes the Wine prefix
// and runs this program with
//   VERRINE_WINE_FOLDER     the download's top folder: verrine.exe, resources/
//   VERRINE_WINE_ARTEFACTS  where screenshots, standard error and the
//                           console's text are kept
//   WINEPREFIX              the prefix, passed on to Wine.
// A Wine window is an X window: with Windows 10's frame sizes in the prefix
// it has the Linux build's geometry, and the driver finds its menu bar,
// popups and client area as it finds the toolkit's.

#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <thread>

#include "tests/reliability/viewer_checks.h"
#include "tests/support/reference_image.h"
#include "tests/support/viewer_driver.h"
#include "tests/tools/tool_cases.h"
#include "tests/tools/tool_process.h"

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
// viewer and verrine-live then write to the console they were started from.
// Under Wine a program that cmd starts itself inherits cmd's handles, so
// `start /wait` starts it the way Windows starts a GUI program, without
// them. `script` gives Wine a terminal, so that cmd has a console of its
// own; the console draws the text with terminal escapes, and may move the
// cursor for spaces, which are left out here.
struct ConsoleReport {
    const char* program;
    const char* title;
    const char* text;  // without spaces
};

const ConsoleReport kConsoleReports[] = {
    {"verrine.exe", "Verrine", "Shadercompilationfailed.Printinglog:"},
    {"verrine-live.exe", kLiveTitle, "resources/shaders/testFragment.txt:2:30:error:`undeclared'undeclared"},
};

TEST_F(WineRuns, ABrokenShadersReportReachesTheConsoleOfCmd) {
    for (const ConsoleReport& report : kConsoleReports) {
        ViewerDriver viewer;
        const fs::path copy = viewer.workingDirectory() / "Verrine broken";
        fs::copy(folder_, copy, fs::copy_options::recursive);
        std::ofstream(copy / "resources/shaders/testFragment.txt")
            << "#version 110\nvoid main() { gl_FragColor = undeclared; }\n";
        const fs::path console = artefacts_ / ("console-broken-shader-" + std::string(report.program) + ".txt");
        ViewerLaunch how = wine(copy);
        how.wrapper.clear();
        how.program = "/usr/bin/script";
        how.arguments = {"-q", "-e", "-f", "-c", "wine cmd /c start /wait " + std::string(report.program), console};
        how.title = report.title;
        ASSERT_TRUE(viewer.launch(how)) << report.program;

        auto consoleText = [&] {
            return without(without(std::regex_replace(fileText(console), std::regex("\x1b\\[[0-9;?]*[a-zA-Z]"), ""),
                                   '\r'), ' ');
        };
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (consoleText().find(report.text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        EXPECT_NE(consoleText().find(report.text), std::string::npos)
            << report.program << ": no compile report on cmd's console; it shows:\n" << consoleText();
        viewer.tapKey("Escape");
        EXPECT_TRUE(exitsWithZero(viewer, std::chrono::seconds(30))) << report.program;
    }
}

// --- verrine-live.exe --------------------------------------------------------

// Saves of the toon fragment, one after the other in one window, each as an
// editor makes it: a broken one keeps the last good picture and says so in
// the title and the report; the fixing one, a rename, restores the title.
struct LiveSave {
    const char* name;
    std::string (*edit)(std::string original);
    bool byRename;
    bool changesPicture;
    const char* title;
    const char* reported;  // a line of its report on standard error
};

const LiveSave kLiveSaves[] = {
    {"a new colour", greened, false, true, kLiveTitle, ""},
    {"broken", broken, false, false, kBrokenToonTitle, kBrokenToonReport},
    {"fixed, by a rename", greened, true, false, kLiveTitle, ""},
};

TEST_F(WineRuns, LiveFollowsEachSaveOfTheToonFragment) {
    ViewerDriver live;
    const fs::path copy = live.workingDirectory() / "Verrine live";
    fs::copy(folder_, copy, fs::copy_options::recursive);
    ViewerLaunch how = wine(copy);
    how.program = (copy / "verrine-live.exe").string();
    how.title = kLiveTitle;
    how.environment = {"MESA_SHADER_CACHE_DISABLE=true"};  // Mesa runs on the Linux side of Wine
    ASSERT_TRUE(live.launch(how));
    const Image fixed = live.stillClient();
    live.tapKey("2");
    Image last = stillPictureWhere(live, [&](const Image& picture) { return !samePicture(picture, fixed); });
    ASSERT_FALSE(last.empty()) << "key 2 did not change the picture";

    const fs::path fragment = copy / kToonFragment;
    const std::string original = fileText(fragment);
    for (const LiveSave& save : kLiveSaves) {
        const fs::path written = save.byRename ? fs::path(fragment).concat(".new") : fragment;
        std::ofstream(written, std::ios::binary | std::ios::trunc) << save.edit(original);
        if (save.byRename) fs::rename(written, fragment);
        const auto differs = [&](const Image& picture) { return !samePicture(picture, last); };
        if (save.changesPicture) {
            EXPECT_FALSE(stillPictureWhere(live, differs).empty()) << save.name << ": the picture did not change";
        }
        EXPECT_TRUE(live.waitForTitle(save.title, true, std::chrono::seconds(5))) << save.name << ": " << live.title();
        if (!save.changesPicture) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));  // time for a wrong picture to show
            EXPECT_TRUE(samePicture(live.stillClient(), last)) << save.name << ": the last good picture is gone";
        }
        EXPECT_NE(without(live.standardError(), '\r').find(save.reported), std::string::npos) << save.name;
        last = live.stillClient();
    }
    keep(live.captureWindow(), "live-fixed.png");
    keepStandardError(live, "live");
    live.tapKey("Escape");
    EXPECT_TRUE(exitsWithZero(live, std::chrono::seconds(30)));
}

// --- verrine-check.exe and verrine-shot.exe ----------------------------------

// Pairs sit in a folder whose name holds a space and letters outside the ANSI
// code page, given with backslashes, and are printed back as given.
const std::string kPairs = "my shaders\\é ж";
const std::string kPairsFolder = "my shaders/é ж";
using Arguments = std::vector<std::string>;

Arguments operator+(Arguments first, const Arguments& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A file of the pairs' folder as the tools are given it.
std::string given(const std::string& name) { return kPairs + "\\" + name; }
Arguments pair(const std::string& fragment, const std::string& vertex = "sound.vert") {
    return {"--vertex", given(vertex), "--fragment", given(fragment)};
}

struct ToolCase {
    const char* name;
    int status;
    std::string text;  // in standard output or error
    Arguments arguments;
};

const std::vector<ToolCase> kCheckCases = {
    {"shipped shaders", 0, "verrine-check: all 2 programs compile and link", {}},
    {"broken pair, with caret", 1, given("broken.vert") + kBrokenVertexReport, pair("sound.frag", "broken.vert")},
    {"CRLF source, forward slashes", 0, "the program compiles and links",
     {"--vertex", kPairsFolder + "/sound.vert", "--fragment", kPairsFolder + "/crlf.frag"}},
    {"unfed uniform", 0, given("unfed.frag") + ":1:15: warning: uniform 'uAmount' is never set", pair("unfed.frag")},
    {"unfed uniform, --strict", 1, "warning: uniform 'uAmount'", Arguments{"--strict"} + pair("unfed.frag")},
    {"second opinion on 1.0f", 0,
     "suffix.frag:4:25: warning: GLSL 1.10 has no float suffixes; other drivers reject `1.0f`", pair("suffix.frag")},
    {"byte-order mark", 1, "bom.frag:1:1: error: the file starts with a UTF-8 byte-order mark", pair("bom.frag")},
    {"empty file", 1, "empty.frag: error: the file is empty", pair("empty.frag")},
    {"missing file", 1, "missing.frag: error: cannot read the file", pair("missing.frag")},
    {"folder for a file", 1, "error: cannot read the file: it is a folder", pair("..")},
    {"missing folder", 2, "verrine-check: cannot enter no-such-folder", {"no-such-folder"}},
    {"DIR named in Cyrillic", 0, "Проект ж\\resources/shaders/testVertex.txt: compiles", {"Проект ж"}},
};

const std::vector<ToolCase> kShotCases = {
    {"--compare, the same mode", 0, "",
     {given("again.png"), "--mode", "201", "--size", kClientSize, "--compare", given("toon.png")}},
    {"--compare, another mode", 1, "pixels differ from " + given("toon.png"),
     {given("fixed.png"), "--size", kClientSize, "--compare", given("toon.png")}},
    {"output over the reference", 2, "cannot write " + given("toon.png") + ": it is the reference",
     {given("toon.png"), "--compare", kPairsFolder + "/toon.png"}},
    {"output onto a folder", 1, "cannot write " + kPairs + ": it is a folder", {kPairs}},
    {"missing reference", 2, "cannot read " + given("missing.png"),
     {given("out.png"), "--compare", given("missing.png")}},
    {"empty reference", 2, "cannot read " + given("empty.frag"), {given("out.png"), "--compare", given("empty.frag")}},
};

const std::pair<const char*, std::string> kPairFiles[] = {
    {"sound.vert", kSoundVertex},
    {"sound.frag", kSoundFragment},
    {"crlf.frag", std::regex_replace(kSoundFragment, std::regex("\n"), "\r\n")},
    {"broken.vert", kBrokenVertex},
    {"unfed.frag", "uniform float uAmount;\nvoid main()\n{\n    gl_FragColor = vec4(uAmount);\n}\n"},
    {"suffix.frag", "#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0f);\n}\n"},
    {"bom.frag", "\xEF\xBB\xBF" + std::string(kSoundFragment)},
    {"empty.frag", ""},
};

class WineTools : public WineRuns {
protected:
    void SetUp() override {
        WineRuns::SetUp();
        setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);  // Mesa runs on the Linux side of Wine
        fs::create_directories(pairs());
        for (const auto& [name, text] : kPairFiles) std::ofstream(pairs() / name, std::ios::binary) << text;
        fs::create_directories(folder_ / "Проект ж");
        fs::copy(folder_ / "resources", folder_ / "Проект ж/resources",
                 fs::copy_options::recursive | fs::copy_options::skip_existing);
    }

    fs::path pairs() const { return folder_ / kPairsFolder; }
    ProcessResult run(const Arguments& arguments) const {
        return runProgram(Arguments{"/usr/bin/wine"} + arguments, folder_);
    }

    void runCases(const char* program, const std::vector<ToolCase>& cases) const {
        for (const ToolCase& tool : cases) {
            const ProcessResult result = run(Arguments{program} + tool.arguments);
            const std::string out = without(result.out + result.err, '\r');
            EXPECT_EQ(result.status, tool.status) << program << ", " << tool.name << ":\n" << out;
            EXPECT_NE(out.find(tool.text), std::string::npos) << program << ", " << tool.name << ":\n" << out;
        }
    }
};

TEST_F(WineTools, CheckCasesGetTheirTextAndStatus) { runCases("verrine-check.exe", kCheckCases); }

// --watch follows a save that writes a new file and renames it over the old
// one, and Ctrl+C (SIGINT, which Wine hands to the console handler) ends it
// with status 0.
TEST_F(WineTools, WatchFollowsARenameSaveAndCtrlCEndsWithStatusZero) {
    ScratchFolder output;
    ChildProcess watch(
        capturedInto(output, Arguments{"/usr/bin/wine", "verrine-check.exe", "--watch"} + pair("sound.frag"), folder_));
    ASSERT_TRUE(waitForText(output / "out", "watching for changes", 1, std::chrono::seconds(30)))
        << readWholeFile(output / "out") << readWholeFile(output / "err");
    std::ofstream(pairs() / "sound.frag.new") << kSoundFragment;
    fs::rename(pairs() / "sound.frag.new", pairs() / "sound.frag");
    EXPECT_TRUE(waitForText(output / "out", "sound.frag changed", 1, std::chrono::seconds(2)))
        << "missed a rename-save";
    kill(watch.pid(), SIGINT);
    EXPECT_EQ(watch.waitForExit(std::chrono::seconds(10)), 0) << "after Ctrl+C";
}

// Each of the Linux shots against its reference (both are Mesa's llvmpipe),
// within the Linux shots' tolerance; then the shot's cases, and "-", whose
// standard output is binary.
TEST_F(WineTools, ShotsMatchTheLinuxReferencesAndShotCasesGetTheirStatus) {
    const std::vector<Rect> frameRate = {ViewerDriver::frameRateCorner(kClientHeight)};
    for (const ReferenceShot& shot : kReferenceShots) {
        const std::string name = std::string(shot.name) + ".png";
        const ProcessResult result =
            run(Arguments{"verrine-shot.exe", given(name), "--size", kClientSize} + shot.arguments);
        ASSERT_EQ(result.status, 0) << shot.name << ": " << result.err;
        fs::copy_file(pairs() / name, artefacts_ / ("shot-" + name), fs::copy_options::overwrite_existing);
        const Image picture = readPng(pairs() / name).value_or(Image());  // of another size, all pixels differ
        const Image reference = readReference(shot.reference).value_or(Image());
        EXPECT_LE(compareImages(picture, reference, frameRate, kChannelTolerance).differingPixels,
                  kTolerance * kClientWidth * kClientHeight)
            << shot.name << " differs from Linux's " << shot.reference;
    }
    runCases("verrine-shot.exe", kShotCases);
    EXPECT_GT(fs::file_size(pairs() / "fixed.diff.png"), 0u) << "--compare wrote no difference picture";

    const ProcessResult toOutput = run({"verrine-shot.exe", "-", "--size", "64x48"});
    ASSERT_EQ(run({"verrine-shot.exe", given("small.png"), "--size", "64x48"}).status, 0);
    EXPECT_EQ(toOutput.out, readWholeFile(pairs() / "small.png")) << "the picture on standard output differs";
}

}  // namespace
