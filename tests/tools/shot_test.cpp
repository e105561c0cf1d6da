// verrine-shot: pictures of the real scene, its arguments and its promise
// never to leave a partial file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/support/image.h"
#include "tests/support/reference_image.h"
#include "tests/support/viewer_driver.h"
#include "tests/tools/foreign_pairs.h"
#include "tests/tools/tool_cases.h"
#include "tests/tools/tool_process.h"
#include "tools/shot/picture_difference.h"

namespace {

namespace fs = std::filesystem;

// Smaller shots for everything else.
const char kSize[] = "240x180";

// An empty picture when the file cannot be read.
Image picture(const std::string& path) { return readPng(path).value_or(Image()); }

// The share of pixels, 0 to 1, in which a channel differs by more than the
// channel tolerance; above 1 when the sizes differ.
double differingShare(const Image& actual, const Image& expected) {
    if (actual.empty()) return 1.0;
    const double differing = compareImages(actual, expected, {}, kChannelTolerance).differingPixels;
    return differing / (actual.width() * actual.height());
}

// Runs from the repository root, where resources/ is.
ProcessResult shoot(const std::string& output, const std::vector<std::string>& arguments) {
    std::vector<std::string> command = {VERRINE_SHOT_PATH, output};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command, VERRINE_SOURCE_DIR);
}

std::vector<std::string> folderContents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class ShotOfEachReference : public testing::TestWithParam<ReferenceShot> {};

TEST_P(ShotOfEachReference, MatchesItsReferenceAndNoOther) {
    ScratchFolder scratch;
    const std::string output = scratch / "shot.png";
    std::vector<std::string> arguments = GetParam().arguments;
    arguments.insert(arguments.end(), {"--size", kClientSize});
    const ProcessResult result = shoot(output, arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");

    const Image shot = picture(output);
    ASSERT_EQ(shot.width(), kClientWidth);
    ASSERT_EQ(shot.height(), kClientHeight);
    const std::vector<Rect> frameRate = {ViewerDriver::frameRateCorner(kClientHeight)};
    EXPECT_TRUE(matchesReference(shot, GetParam().reference, frameRate));
    for (const ReferenceShot& other : kReferenceShots) {
        if (other.reference == std::string(GetParam().reference)) continue;
        const std::optional<Image> reference = readReference(other.reference);
        ASSERT_TRUE(reference) << other.reference;
        EXPECT_GT(compareImages(shot, *reference, frameRate, kChannelTolerance).differingPixels,
                  kTolerance * 5 * shot.width() * shot.height())
            << other.reference;
    }
}

INSTANTIATE_TEST_SUITE_P(VerrineShot, ShotOfEachReference, testing::ValuesIn(kReferenceShots),
                         [](const testing::TestParamInfo<ReferenceShot>& info) {
                             return std::string(info.param.name);
                         });

TEST(VerrineShot, DefaultPictureIsTheViewersFirstFrameAt500By500) {
    ScratchFolder scratch;
    const ProcessResult result = shoot(scratch / "default.png", {});
    ASSERT_EQ(result.status, 0) << result.err;
    const Image shot = picture(scratch / "default.png");
    EXPECT_EQ(shot.width(), 500);
    EXPECT_EQ(shot.height(), 500);
    // The background's grey, 0.49 of full scale, in the top-left corner.
    ASSERT_FALSE(shot.empty());
    EXPECT_NEAR(shot.at(0, 0).red, 125, 1);
}

TEST(VerrineShot, DebugNoneHidesTheDefaultGrid) {
    ScratchFolder scratch;
    ASSERT_EQ(shoot(scratch / "grid.png", {"--size", kSize}).status, 0);
    ASSERT_EQ(shoot(scratch / "none.png", {"--size", kSize, "--debug", "none"}).status, 0);
    ASSERT_EQ(shoot(scratch / "empty.png", {"--size", kSize, "--debug", ""}).status, 0);
    const Image withGrid = picture(scratch / "grid.png");
    const Image none = picture(scratch / "none.png");
    EXPECT_GT(differingShare(withGrid, none), 5 * kTolerance);
    EXPECT_EQ(differingShare(none, picture(scratch / "empty.png")), 0.0);
}

TEST(VerrineShot, UnwritableOutputFailsClearlyAndLeavesNoFile) {
    ScratchFolder scratch;
    std::ofstream(scratch / "plain-file") << "not a folder";
    fs::create_directory(scratch / "existing-folder");

    const ProcessResult underFile = shoot(scratch / "plain-file/out.png", {"--size", "8x8"});
    EXPECT_EQ(underFile.status, 1);
    EXPECT_EQ(underFile.err, "verrine-shot: cannot write " + scratch / "plain-file/out.png" +
                                 ": Not a directory\n");

    // A folder or a device is refused in one line before anything is drawn.
    const ProcessResult ontoFolder = shoot(scratch / "existing-folder", {"--size", "8x8"});
    EXPECT_EQ(ontoFolder.status, 1);
    EXPECT_EQ(ontoFolder.err, "verrine-shot: cannot write " + scratch / "existing-folder" + ": it is a folder\n");
    const ProcessResult ontoDevice = shoot("/dev/null", {"--size", "8x8"});
    EXPECT_EQ(ontoDevice.status, 1);
    EXPECT_EQ(ontoDevice.err, "verrine-shot: cannot write /dev/null: it is not a regular file "
                              "(- writes the picture to standard output)\n");
    EXPECT_EQ(folderContents(scratch.path()),
              (std::vector<std::string>{"existing-folder", "plain-file"}));
    EXPECT_TRUE(folderContents(scratch / "existing-folder").empty());
}

TEST(VerrineShot, WritesThroughASymbolicLinkAndToStandardOutput) {
    ScratchFolder scratch;
    fs::create_directory(scratch / "pictures");
    fs::create_symlink("pictures/target.png", scratch / "link.png");
    ASSERT_EQ(shoot(scratch / "link.png", {"--size", "16x12"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(scratch / "link.png"));
    EXPECT_EQ(picture(scratch / "pictures/target.png").width(), 16);
    EXPECT_EQ(folderContents(scratch / "pictures"), std::vector<std::string>{"target.png"});

    const ProcessResult toOutput = shoot("-", {"--size", "16x12"});
    ASSERT_EQ(toOutput.status, 0) << toOutput.err;
    const std::string written = scratch.write("from-output.png", toOutput.out);
    EXPECT_EQ(picture(written), picture(scratch / "pictures/target.png"));
}

// The toon program is broken, as the viewer would read it: no picture of
// something else, and the file that fails is named.
TEST(VerrineShot, ModeWhoseProgramDoesNotBuildWritesNoPicture) {
    ScratchFolder scratch;
    fs::copy(fs::path(VERRINE_SOURCE_DIR) / "resources", scratch / "resources", fs::copy_options::recursive);
    scratch.write(kToonVertex, kBrokenVertex);
    const std::string output = scratch / "out.png";
    const std::vector<std::vector<std::string>> brokenRuns = {
        {VERRINE_SHOT_PATH, output, "--mode", "201", "--size", "8x8"},
        {VERRINE_SHOT_PATH, output, "--vertex", kToonVertex, "--fragment", kToonFragment, "--size", "8x8"},
    };
    for (const std::vector<std::string>& command : brokenRuns) {
        const ProcessResult result = runProgram(command, scratch.path().string());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.rfind("verrine-shot: no picture: the toon program does not build\n", 0), 0u)
            << result.err;
        EXPECT_NE(result.err.find(std::string(kToonVertex) + ":4:19: error: `undeclared' undeclared\n"),
                  std::string::npos)
            << result.err;
        EXPECT_FALSE(fs::exists(output));
    }
    // The other modes do not need that program.
    EXPECT_EQ(runProgram({VERRINE_SHOT_PATH, output, "--mode", "202", "--size", "8x8"}, scratch.path().string())
                  .status,
              0);
}

// --fuzz is the largest difference in a channel that still counts as the
// same: one pixel of a 2 x 1 picture off by fuzz passes, by fuzz + 1 not.
TEST(VerrineShot, FuzzIsTheLargestChannelDifferenceThatPasses) {
    struct FuzzCase {
        int fuzz;
        int offBy;
        int differing;
    };
    const FuzzCase kCases[] = {{0, 0, 0}, {0, 1, 1}, {2, 2, 0}, {2, 3, 1}, {255, 255, 0}};
    for (const FuzzCase& fuzzCase : kCases) {
        const Picture reference = {2, 1, {100, 0, 255, 7, 7, 7}};
        Picture actual = reference;
        actual.rgb[2] = static_cast<unsigned char>(255 - fuzzCase.offBy);
        EXPECT_EQ(comparePictures(actual, reference, fuzzCase.fuzz).differingPixels, fuzzCase.differing)
            << "--fuzz " << fuzzCase.fuzz << ", off by " << fuzzCase.offBy;
    }
}

// verrine-shot says what verrine-check says about the program it draws, and
// warns when the picture shows nothing; --strict fails on warnings with the
// picture written. Run in the pair's folder, so paths are shown as given.
struct ForeignShot {
    const char* what;
    ForeignPair pair;
    std::vector<std::string> options;
    int status;
    bool written;
    std::vector<std::string> messages;  // on standard error, each once
};

TEST(VerrineShot, SaysWhatTheCheckSaysAndWarnsOnAFlatPicture) {
    const std::string coreWarning = "`#version 330 core` is the core profile, which has none of the built-in state";
    const std::vector<ForeignShot> rows = {
        {"core profile", kCorePair, {}, 0, true,
         {"pair.vert:1:1: warning: " + coreWarning,
          "verrine-shot: warning: the picture is one flat colour; likely cause: pair.vert:1: " + coreWarning}},
        {"core profile, strict", kCorePair, {"--strict"}, 1, true,
         {"verrine-shot: 6 warnings (--strict: they fail); the picture is written\n"}},
        {"tutorial style", kTutorialPair, {}, 0, true,
         {"pair.vert:2:16: note: this shader is written for a program that feeds its own attributes",
          "likely cause: pair.vert:2: attribute 'aPosition' is never fed"}},
        {"light position as direction", kLightAsDirectionPair, {}, 0, true,
         {"pair.vert:5:16: warning: gl_LightSource[].position is used as a direction"}},
        {"WebGL", kEsPair, {}, 1, false, {"pair.frag:1:1: note: `precision` is GLSL ES (WebGL)"}},
        {"int to float in 1.10", kIntToFloatPair, {}, 1, false,
         {"pair.frag:5:19: note: GLSL 1.10 converts no int to float by itself"}},
        {"varying mismatch", kVaryingMismatchPair, {}, 1, false,
         {"pair.frag:1:14: error: fragment shader varying normal not written by vertex shader\n"
          "varying vec3 normal;\n"}},
    };
    for (const ForeignShot& row : rows) {
        ScratchFolder folder;
        folder.write("pair.vert", row.pair.vertex);
        folder.write("pair.frag", row.pair.fragment);
        std::vector<std::string> command = {VERRINE_SHOT_PATH, "out.png", "--size", kSize, "--vertex", "pair.vert",
                                            "--fragment", "pair.frag"};
        command.insert(command.end(), row.options.begin(), row.options.end());
        const ProcessResult result = runProgram(command, folder.path().string());
        EXPECT_EQ(result.status, row.status) << row.what << '\n' << result.err;
        EXPECT_EQ(fs::exists(folder / "out.png"), row.written) << row.what;
        for (const std::string& message : row.messages) {
            EXPECT_EQ(countOccurrences(result.err, message), 1) << row.what << '\n' << message << '\n' << result.err;
        }
    }
}

// Started elsewhere, the program finds the scene's data beside itself, says
// which copy it took, and draws the same picture as from the repository.
TEST(VerrineShot, FindsTheScenesDataWithoutTheWorkingDirectory) {
    ScratchFolder scratch;
    ASSERT_EQ(shoot(scratch / "here.png", {"--mode", "toon", "--size", kSize}).status, 0);
    fs::create_directory(scratch / "empty");
    const std::string elsewhere = scratch / "empty";
    const ProcessResult fromRepository =
        runProgram({VERRINE_SHOT_PATH, scratch / "there.png", "--mode", "toon", "--size", kSize}, elsewhere);
    ASSERT_EQ(fromRepository.status, 0) << fromRepository.err;
    const std::string repositoryCopy = (fs::canonical(VERRINE_SOURCE_DIR) / "resources").string();
    EXPECT_EQ(fromRepository.err, "verrine-shot: the scene's data from " + repositoryCopy + "\n");
    EXPECT_EQ(differingShare(picture(scratch / "there.png"), picture(scratch / "here.png")), 0.0);

    // --resources names the folder itself, whatever it is called.
    fs::copy(repositoryCopy, scratch / "data", fs::copy_options::recursive);
    scratch.write("data/shaders/testVertex.txt", "void main() { gl_Position = undeclared; }\n");
    const ProcessResult given = runProgram(
        {VERRINE_SHOT_PATH, scratch / "given.png", "--mode", "toon", "--resources", scratch / "data"}, elsewhere);
    EXPECT_EQ(given.status, 1);
    EXPECT_NE(given.err.find(scratch / "data/shaders/testVertex.txt:1:"), std::string::npos) << given.err;

    // A copy of the program outside the repository and its install finds none.
    fs::create_directory(scratch / "bin");
    fs::copy_file(VERRINE_SHOT_PATH, scratch / "bin/verrine-shot");
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{scratch / "bin/verrine-shot", scratch / "none.png"},
          std::vector<std::string>{VERRINE_SHOT_PATH, scratch / "none.png", "--resources", scratch / "missing"}}) {
        const ProcessResult none = runProgram(command, elsewhere);
        EXPECT_EQ(none.status, 1);
        EXPECT_EQ(none.err.rfind("verrine-shot: no resources folder", 0), 0u) << none.err;
        EXPECT_EQ(countOccurrences(none.err, "\n"), 1) << none.err;
        EXPECT_FALSE(fs::exists(scratch / "none.png"));
    }
}

// Every tool: --version gives the name and project()'s version, with the
// commit in a build from a git checkout; --help starts with the usage.
TEST(VerrineTools, HelpAndVersion) {
    const std::pair<const char*, const char*> tools[] = {
        {"verrine-check", VERRINE_CHECK_PATH}, {"verrine-shot", VERRINE_SHOT_PATH}, {"verrine-live", VERRINE_LIVE_PATH}};
    for (const auto& [name, program] : tools) {
        const ProcessResult version = runProgram({program, "--frames", "--version"});
        EXPECT_EQ(version.status, 0) << name;
        const std::string commit = fs::exists(fs::path(VERRINE_SOURCE_DIR) / ".git") ? " \\(commit [0-9a-f]+(-dirty)?\\)" : "";
        EXPECT_TRUE(std::regex_match(version.out, std::regex(std::string(name) + " " + VERRINE_PROJECT_VERSION + commit + "\n")))
            << version.out;
        const ProcessResult help = runProgram({program, "-h"});
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.out.rfind("usage: " + std::string(name) + " ", 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << name;
    }
}

// verrine-live opens no window for a bad command line (status 2, the usage)
// or without its data (status 1, one line).
TEST(VerrineLive, BadArgumentsExit2AndNoDataFolder1) {
    const std::vector<std::vector<std::string>> mistakes = {
        {"--watch"}, {"stray"}, {"--resources"}, {"--vertex", "a.vert"}, {"--fragment"}};
    for (const std::vector<std::string>& arguments : mistakes) {
        std::vector<std::string> command = {VERRINE_LIVE_PATH};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const ProcessResult result = runProgram(command);
        const std::string shown = testing::PrintToString(arguments);
        EXPECT_EQ(result.status, 2) << shown;
        EXPECT_EQ(result.err.rfind("verrine-live: ", 0), 0u) << shown << result.err;
        EXPECT_NE(result.err.find("\nusage: verrine-live "), std::string::npos) << shown << result.err;
    }
    const ProcessResult missing = runProgram({VERRINE_LIVE_PATH, "--resources", "/nonexistent/resources"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "verrine-live: no resources folder /nonexistent/resources\n");
}

TEST(VerrineShot, ComparesWithAReferenceWithinTolerance) {
    ScratchFolder scratch;
    const std::string toon = scratch / "toon-reference.png";
    const std::vector<std::string> size = {"--size", kSize};
    ASSERT_EQ(shoot(toon, {"--mode", "201", "--size", kSize}).status, 0);
    auto compare = [&](const std::string& name, std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), size.begin(), size.end());
        return shoot(scratch / name, arguments);
    };
    const ProcessResult same = compare("same.png", {"--mode", "201", "--compare", toon});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.err, "");

    const ProcessResult differs = compare("fixed.png", {"--compare", toon});
    EXPECT_EQ(differs.status, 1);
    EXPECT_TRUE(std::regex_search(differs.err,
                                  std::regex("^verrine-shot: [0-9]+ pixels differ from " + toon +
                                             " by more than 2 levels \\(0 allowed\\); where: " +
                                             scratch / "fixed.diff.png" + "\n$")))
        << differs.err;
    const Image difference = picture(scratch / "fixed.diff.png");
    const int magenta = measurePixels(difference, [](Rgb c) { return c.red == 255 && c.green == 0 && c.blue == 255; }).count;
    EXPECT_EQ("verrine-shot: " + std::to_string(magenta) + " pixels", differs.err.substr(0, differs.err.find(" differ")));
    EXPECT_TRUE(fs::exists(scratch / "fixed.png"));
    EXPECT_EQ(compare("fixed.png", {"--compare", toon, "--tolerance", std::to_string(magenta)}).status, 0);

    const ProcessResult otherSize = shoot(scratch / "small.png", {"--size", "8x8", "--compare", toon});
    EXPECT_EQ(otherSize.status, 2);
    EXPECT_EQ(otherSize.err, "verrine-shot: cannot compare: " + toon + " is 240x180, the picture 8x8\n");
    const ProcessResult unreadable = compare("x.png", {"--compare", std::string(VERRINE_SOURCE_DIR) + "/README.md"});
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_EQ(countOccurrences(unreadable.err, "\n"), 1) << unreadable.err;
    EXPECT_EQ(unreadable.err.rfind("verrine-shot: cannot read ", 0), 0u) << unreadable.err;
}

TEST(VerrineShot, ReplacesAnExistingPictureKeepingItsModeAndOwner) {
    umask(022);
    ScratchFolder scratch;
    const std::string output = scratch / "shot.png";
    ASSERT_EQ(shoot(output, {"--size", "16x12"}).status, 0);
    EXPECT_EQ(fs::status(output).permissions() & fs::perms::others_read, fs::perms::others_read);

    // A private picture stays private, written directly or through a link,
    // and keeps its owner (another user's, where the test may give it one).
    std::ofstream(output) << "old content";
    fs::permissions(output, fs::perms::owner_read | fs::perms::owner_write);
    const bool otherOwner = geteuid() == 0 && chown(output.c_str(), 4321, 4321) == 0;
    fs::create_symlink("shot.png", scratch / "link.png");
    for (const std::string& written : {output, scratch / "link.png"}) {
        ASSERT_EQ(shoot(written, {"--size", "16x12"}).status, 0) << written;
        EXPECT_EQ(picture(output).width(), 16);
        EXPECT_EQ(fs::status(output).permissions(), fs::perms::owner_read | fs::perms::owner_write) << written;
        struct stat status {};
        ASSERT_EQ(stat(output.c_str(), &status), 0);
        if (otherOwner) {
            EXPECT_EQ(status.st_uid, 4321u) << written;
        }
    }
    EXPECT_EQ(folderContents(scratch.path()), (std::vector<std::string>{"link.png", "shot.png"}));
}

TEST(VerrineShot, WithoutADisplaySaysSoAndExits1) {
    ScratchFolder scratch;
    unsetenv("DISPLAY");
    const ProcessResult result =
        runProgram({VERRINE_SHOT_PATH, scratch / "out.png", "--size", "8x8"}, VERRINE_SOURCE_DIR);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("DISPLAY is not set"), std::string::npos) << result.err;
    EXPECT_TRUE(folderContents(scratch.path()).empty());
}

}  // namespace
