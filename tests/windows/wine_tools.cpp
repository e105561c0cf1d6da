// verrine-check.exe and verrine-shot.exe from the unpacked download, on the
// Linux tools' cases that hold on Windows (tests/tools/tool_cases.h). Pairs
// sit in a folder whose name holds a space and letters outside the ANSI code
// page, given with backslashes, and must be printed back as given. Standard
// output and error are text streams on Windows: lines end in CR LF.
// tests/windows/run-wine-tests.sh runs this program; see wine_runs.cpp.

#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/support/reference_image.h"
#include "tests/support/viewer_driver.h"
#include "tests/tools/tool_cases.h"
#include "tests/tools/tool_process.h"

namespace fs = std::filesystem;

namespace {

const std::string kPairs = "my shaders\\é ж";  // as the tools are given it
const std::string kPairsFolder = "my shaders/é ж";

std::vector<std::string> operator+(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<std::string> pair(const std::string& vertex, const std::string& fragment) {
    return {"--vertex", kPairs + "\\" + vertex, "--fragment", kPairs + "\\" + fragment};
}

std::string withoutReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

struct ToolCase {
    const char* name;
    int status;
    std::string text;  // in standard output or error
    std::vector<std::string> arguments;
};

const ToolCase kCheckCases[] = {
    {"shipped shaders", 0, "verrine-check: all 2 programs compile and link", {}},
    {"broken pair, with caret", 1,
     kPairs + "\\broken.vert:4:19: error: `undeclared' undeclared\n    gl_Position = undeclared;\n                  ^",
     pair("broken.vert", "sound.frag")},
    {"CRLF source, forward slashes", 0, "the program compiles and links",
     {"--vertex", kPairsFolder + "/sound.vert", "--fragment", kPairsFolder + "/crlf.frag"}},
    {"unfed uniform", 0, kPairs + "\\unfed.frag:1:15: warning: uniform 'uAmount' is never set",
     pair("sound.vert", "unfed.frag")},
    {"unfed uniform, --strict", 1, "warning: uniform 'uAmount'", std::vector<std::string>{"--strict"} + pair("sound.vert", "unfed.frag")},
    {"second opinion on 1.0f", 0,
     "suffix.frag:4:25: warning: GLSL 1.10 has no float suffixes; other drivers reject `1.0f`, as the reference "
     "compiler (glslang) does",
     pair("sound.vert", "suffix.frag")},
    {"byte-order mark", 1, "bom.frag:1:1: error: the file starts with a UTF-8 byte-order mark",
     pair("sound.vert", "bom.frag")},
    {"empty file", 1, "empty.frag: error: the file is empty", pair("sound.vert", "empty.frag")},
    {"missing file", 1, "missing.frag: error: cannot read the file", pair("sound.vert", "missing.frag")},
    {"folder for a file", 1, "error: cannot read the file: it is a folder", pair("sound.vert", "..")},
    {"missing folder", 2, "verrine-check: cannot enter no-such-folder", {"no-such-folder"}},
    {"DIR named in Cyrillic", 0, "Проект ж\\resources/shaders/testVertex.txt: compiles", {"Проект ж"}},
};

const std::string kToonShot = kPairs + "\\toon.png";
const ToolCase kShotCases[] = {
    {"--compare, the same mode", 0, "",
     {kPairs + "\\again.png", "--mode", "201", "--size", kClientSize, "--compare", kToonShot}},
    {"--compare, another mode", 1, "pixels differ from " + kToonShot,
     {kPairs + "\\fixed.png", "--size", kClientSize, "--compare", kToonShot}},
    {"output over the reference", 2, "cannot write " + kToonShot + ": it is the reference",
     {kToonShot, "--compare", kPairsFolder + "/toon.png"}},
    {"output onto a folder", 1, "cannot write " + kPairs + ": it is a folder", {kPairs}},
    {"missing reference", 2, "cannot read " + kPairs + "\\missing.png",
     {kPairs + "\\out.png", "--compare", kPairs + "\\missing.png"}},
    {"empty reference", 2, "cannot read " + kPairs + "\\empty.frag",
     {kPairs + "\\out.png", "--compare", kPairs + "\\empty.frag"}},
};

class WineTools : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_regular_file(folder_ / "verrine-check.exe")) << "VERRINE_WINE_FOLDER must name the download";
        // No Wine process of a viewer's case, whose X server is gone, lingers.
        ASSERT_EQ(std::system("wineserver -k 2>/dev/null; wineserver -w"), 0);
        fs::create_directories(folder_ / kPairsFolder);
        write("sound.vert", kSoundVertex);
        write("sound.frag", kSoundFragment);
        std::string crlf;
        for (char c : std::string(kSoundFragment)) crlf += c == '\n' ? "\r\n" : std::string(1, c);
        write("crlf.frag", crlf);
        write("broken.vert", "#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n");
        write("unfed.frag", "uniform float uAmount;\nvoid main()\n{\n    gl_FragColor = vec4(uAmount);\n}\n");
        write("suffix.frag", "#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0f);\n}\n");
        write("bom.frag", "\xEF\xBB\xBF" + std::string(kSoundFragment));
        write("empty.frag", "");
        fs::create_directories(folder_ / "Проект ж");
        fs::copy(folder_ / "resources", folder_ / "Проект ж/resources",
                 fs::copy_options::recursive | fs::copy_options::skip_existing);
    }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(folder_ / kPairsFolder / name, std::ios::binary) << text;
    }
    fs::path pairs() const { return folder_ / kPairsFolder; }

    // Mesa runs on the Linux side of Wine; its cache is left out.
    ChildOptions wine(const ScratchFolder& output, const std::vector<std::string>& arguments) const {
        ChildOptions options = capturedInto(output, std::vector<std::string>{"/usr/bin/wine"} + arguments, folder_);
        options.environment = {"MESA_SHADER_CACHE_DISABLE=true"};
        return options;
    }
    ProcessResult run(const std::vector<std::string>& arguments) const {
        ScratchFolder output;
        ChildProcess child(wine(output, arguments));
        ProcessResult result = finish(child, output);
        result.err = withoutReturns(result.err);
        return result;
    }

    void runCases(const char* program, const std::vector<ToolCase>& cases) const {
        for (const ToolCase& tool : cases) {
            const ProcessResult result = run(std::vector<std::string>{program} + tool.arguments);
            const std::string out = withoutReturns(result.out) + result.err;
            EXPECT_EQ(result.status, tool.status) << program << ", " << tool.name << ":\n" << out;
            EXPECT_NE(out.find(tool.text), std::string::npos) << program << ", " << tool.name << ":\n" << out;
        }
    }

    const fs::path folder_ = std::getenv("VERRINE_WINE_FOLDER") ? std::getenv("VERRINE_WINE_FOLDER") : "";
    const fs::path artefacts_ = std::getenv("VERRINE_WINE_ARTEFACTS") ? std::getenv("VERRINE_WINE_ARTEFACTS") : "";
};

TEST_F(WineTools, CheckCasesGetTheirTextAndStatus) {
    runCases("verrine-check.exe", {std::begin(kCheckCases), std::end(kCheckCases)});
}

bool printedWithin(const ScratchFolder& output, const std::string& text, std::chrono::seconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string printed = readWholeFile(output / "out") + readWholeFile(output / "err");
        if (printed.find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}

// --watch follows a save that writes a new file and renames it over the old
// one, and Ctrl+C (SIGINT, which Wine hands to the console handler) ends it
// with status 0.
TEST_F(WineTools, WatchFollowsARenameSaveAndCtrlCEndsWithStatusZero) {
    ScratchFolder output;
    ChildProcess watch(wine(output, std::vector<std::string>{"verrine-check.exe", "--watch"} +
                                        pair("sound.vert", "sound.frag")));
    ASSERT_TRUE(printedWithin(output, "watching for changes", std::chrono::seconds(30)))
        << readWholeFile(output / "out") << readWholeFile(output / "err");
    write("sound.frag.new", kSoundFragment);
    fs::rename(pairs() / "sound.frag.new", pairs() / "sound.frag");
    EXPECT_TRUE(printedWithin(output, "sound.frag changed", std::chrono::seconds(2))) << "missed a rename-save";
    kill(watch.pid(), SIGINT);
    EXPECT_EQ(watch.waitForExit(std::chrono::seconds(10)), 0) << "after Ctrl+C";
}

// Each mode's picture against the Linux build's reference (both are Mesa's
// llvmpipe), as the Linux shots are compared; then the shot's own cases, and
// "-", whose standard output is binary.
TEST_F(WineTools, ShotsMatchTheLinuxReferencesAndShotCasesGetTheirStatus) {
    const std::vector<Rect> frameRate = {ViewerDriver::frameRateCorner(kClientHeight)};
    for (const ReferenceShot& shot : kReferenceShots) {
        const std::string name = std::string(shot.name) + ".png";
        const ProcessResult result =
            run(std::vector<std::string>{"verrine-shot.exe", kPairs + "\\" + name, "--size", kClientSize} + shot.arguments);
        ASSERT_EQ(result.status, 0) << shot.name << ": " << result.err;
        fs::copy_file(pairs() / name, artefacts_ / ("shot-" + name), fs::copy_options::overwrite_existing);
        const Image picture = readPng(pairs() / name).value_or(Image());
        ASSERT_EQ(picture.width() * picture.height(), kClientWidth * kClientHeight) << shot.name;
        EXPECT_LE(compareImages(picture, readReference(shot.reference).value_or(Image()), frameRate, kChannelTolerance)
                      .differingPixels,
                  kTolerance * kClientWidth * kClientHeight)
            << shot.name << " differs from Linux's " << shot.reference;
    }
    runCases("verrine-shot.exe", {std::begin(kShotCases), std::end(kShotCases)});
    EXPECT_GT(fs::file_size(pairs() / "fixed.diff.png"), 0u) << "--compare wrote no difference picture";

    const ProcessResult toOutput = run({"verrine-shot.exe", "-", "--size", "64x48"});
    ASSERT_EQ(run({"verrine-shot.exe", kPairs + "\\small.png", "--size", "64x48"}).status, 0);
    EXPECT_EQ(toOutput.out, readWholeFile(pairs() / "small.png")) << "the picture on standard output differs";
}

}  // namespace
