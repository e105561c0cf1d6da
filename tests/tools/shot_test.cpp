// verrine-shot: pictures of the real scene, its arguments and its promise
// never to leave a partial file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/support/image.h"
#include "tests/support/reference_image.h"
#include "tests/support/viewer_driver.h"
#include "tests/tools/tool_process.h"

namespace {

namespace fs = std::filesystem;

// Shots at the viewer's client size share their references with the
// screenshots of the running viewer (tests/references/); only the
// frame-rate text differs. `make references` rewrites them.
const char kClientSize[] = "484x436";
constexpr int kClientWidth = 484;
constexpr int kClientHeight = 436;
// Smaller shots for everything else.
const char kSize[] = "240x180";
// Some pixels may differ between driver versions (an edge, a grid line); the
// pictures of two modes differ in more than 1 % of their pixels. The grid's
// lines stand about 35 steps off the background.
constexpr double kTolerance = 0.002;
constexpr int kChannelTolerance = 24;

struct ReferenceShot {
    const char* name;
    const char* reference;
    std::vector<std::string> arguments;
};

const char kToonVertex[] = "resources/shaders/testVertex.txt";
const char kToonFragment[] = "resources/shaders/testFragment.txt";

const ReferenceShot kReferenceShots[] = {
    {"fixed", "mode-fixed", {}},
    {"toon", "mode-toon", {"--mode", "toon"}},
    {"edge", "mode-edge", {"--mode", "edge"}},
    // Rotation advances once per frame: 180 frames turn the scene by 90 degrees.
    {"debug", "shot-debug-turned", {"--debug", "light,axis,plane,rotate", "--frames", "180"}},
    // A pair given by hand is drawn exactly as the viewer draws it as its toon program.
    {"pair", "mode-toon", {"--vertex", kToonVertex, "--fragment", kToonFragment}},
};

// An empty picture when the file cannot be read.
Image picture(const std::string& path) { return readPng(path).value_or(Image()); }

// The share of pixels, 0 to 1, in which a channel differs by more than the
// channel tolerance; above 1 when the sizes differ.
double differingShare(const Image& actual, const Image& expected) {
    if (actual.empty()) return 1.0;
    const double differing = compareImages(actual, expected, {}, kChannelTolerance).differingPixels;
    return differing / (actual.width() * actual.height());
}

void PrintTo(const ReferenceShot& shot, std::ostream* out) { *out << shot.name; }

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

// A PNG file of any encoding, put together byte by byte, as libpng's simple
// writer makes 8-bit RGB only. `rows` are the raw rows, without filter bytes.
void appendWord(std::string& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift & 0xFF);
}

std::string pngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    appendWord(chunk, static_cast<uint32_t>(data.size()));
    chunk += type + data;
    appendWord(chunk, crc32(0, reinterpret_cast<const Bytef*>(chunk.data()) + 4, static_cast<uInt>(chunk.size() - 4)));
    return chunk;
}

std::string pngFile(uint32_t width, uint32_t height, int depth, int colourType, const std::string& rows,
                    const std::string& chunks) {
    std::string header;
    appendWord(header, width);
    appendWord(header, height);
    header += {static_cast<char>(depth), static_cast<char>(colourType), 0, 0, 0};
    const size_t rowBytes = rows.size() / std::max<uint32_t>(height, 1);
    std::string filtered;
    for (size_t at = 0; rowBytes > 0 && at < rows.size(); at += rowBytes) filtered += '\0' + rows.substr(at, rowBytes);
    uLongf size = compressBound(filtered.size());
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(filtered.data()),
             filtered.size());
    packed.resize(size);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + chunks + pngChunk("IDAT", packed) + pngChunk("IEND", "");
}

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (int value : values) text += static_cast<char>(value);
    return text;
}

// Two pixels in each encoding, and the 8-bit RGB each must read as: values
// as stored (16 bits scaled, no gamma), alpha composed over black.
struct Encoding {
    const char* name;
    int depth;
    int colourType;
    std::string chunks;
    std::string rows;
    std::string expected;
};

const std::string kRgb = bytes({10, 20, 30, 200, 100, 50});
const std::string kPalette = pngChunk("PLTE", kRgb);

const Encoding kEncodings[] = {
    {"Rgb8", 8, 2, "", kRgb, kRgb},
    {"Rgb16", 16, 2, "", bytes({10, 10, 20, 20, 30, 30, 200, 200, 100, 100, 50, 50}), kRgb},
    {"Rgb8WithGamma", 8, 2, pngChunk("gAMA", bytes({0, 1, 0x86, 0xA0})), kRgb, kRgb},
    {"Grey8", 8, 0, "", bytes({7, 250}), bytes({7, 7, 7, 250, 250, 250})},
    {"Grey1", 1, 0, "", bytes({0x80}), bytes({255, 255, 255, 0, 0, 0})},
    {"Grey16", 16, 0, "", bytes({7, 7, 250, 250}), bytes({7, 7, 7, 250, 250, 250})},
    {"GreyAlpha8", 8, 4, "", bytes({100, 255, 100, 0}), bytes({100, 100, 100, 0, 0, 0})},
    {"Palette", 8, 3, kPalette, bytes({0, 1}), kRgb},
    {"PaletteWithTransparency", 8, 3, kPalette + pngChunk("tRNS", bytes({255, 128})), bytes({0, 1}),
     bytes({10, 20, 30, 100, 50, 25})},
    {"Rgba8", 8, 6, "", bytes({10, 20, 30, 255, 200, 100, 50, 0}), bytes({10, 20, 30, 0, 0, 0})},
    {"Rgba16", 16, 6, "", bytes({10, 10, 20, 20, 30, 30, 255, 255, 200, 200, 100, 100, 50, 50, 255, 255}), kRgb},
};

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

// What a careless or hostile user may give, and the one line each gets. Runs
// in a scratch folder holding a copy of resources/, where "@" stands for the
// folder; ref.png (8x8), link.png (a symbolic link to it), hard.png (a hard
// link to it), out.diff.png and pair.frag (copies of ref.png and of the toon
// fragment file), fifo, bomb.png (a header of 100000x100000 pixels),
// truncated.png and deep.frag (a sum of 20,000 terms) are there. Arguments
// starting with ">&-" run with standard output closed.
struct BadShot {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string line;  // in the standard error
};

const char kUsage[] = "\nusage: verrine-shot OUT.png ";
const std::string kPair = "--vertex resources/shaders/testVertex.txt --fragment ";

const BadShot kBadShots[] = {
    {"NoOutput", {}, 2, kUsage},
    {"OnlyAMode", {"--mode", "201"}, 2, kUsage},
    {"UnknownMode", {"@/out.png", "--mode", "203"}, 2, kUsage},
    {"ModeOfAnotherCase", {"@/out.png", "--mode", "Toon"}, 2, kUsage},
    {"ModeWithoutValue", {"@/out.png", "--mode"}, 2, kUsage},
    {"EmptyResources", {"@/out.png", "--resources", ""}, 2, kUsage},
    {"UnknownOverlay", {"@/out.png", "--debug", "light,grid"}, 2, kUsage},
    {"NoFrames", {"@/out.png", "--frames", "0"}, 2, kUsage},
    {"FramesNotANumber", {"@/out.png", "--frames", "2x"}, 2, kUsage},
    {"SizeWithoutHeight", {"@/out.png", "--size", "640"}, 2, kUsage},
    {"ZeroWidth", {"@/out.png", "--size", "0x480"}, 2, kUsage},
    {"NegativeWidth", {"@/out.png", "--size", "-640x480"}, 2, kUsage},
    {"UnknownOption", {"@/out.png", "--zoom", "2"}, 2, kUsage},
    {"TwoOutputs", {"@/out.png", "@/second.png"}, 2, kUsage},
    {"VertexAlone", {"@/out.png", "--vertex", "a.vert"}, 2, kUsage},
    {"FragmentAlone", {"@/out.png", "--fragment", "a.frag"}, 2, kUsage},
    {"PairInAnotherMode", {"@/out.png", "--vertex", "a.vert", "--fragment", "a.frag", "--mode", "202"}, 2, kUsage},
    {"ToleranceAlone", {"@/out.png", "--tolerance", "3"}, 2, kUsage},
    {"FuzzTooLarge", {"@/out.png", "--compare", "ref.png", "--fuzz", "256"}, 2, kUsage},
    {"NegativeTolerance", {"@/out.png", "--compare", "ref.png", "--tolerance", "-1"}, 2, kUsage},
    {"CompareOnStandardOutput", {"-", "--compare", "ref.png"}, 2, kUsage},
    // Never overwrite an input, by whatever name: nothing is drawn.
    {"OverTheReference", {"@/ref.png", "--mode", "202", "--size", "8x8", "--compare", "@/ref.png"}, 2,
     "verrine-shot: cannot write @/ref.png: it is the reference, @/ref.png, which this run reads\n"},
    {"ThroughALinkToTheReference", {"@/link.png", "--size", "8x8", "--compare", "@/ref.png"}, 2,
     "verrine-shot: cannot write @/link.png: it is the reference, @/ref.png, which this run reads\n"},
    {"ThroughAHardLinkToTheReference", {"@/hard.png", "--size", "8x8", "--compare", "@/ref.png"}, 2,
     "verrine-shot: cannot write @/hard.png: it is the reference, @/ref.png, which this run reads\n"},
    {"DifferencePictureOverTheReference", {"@/out.png", "--size", "8x8", "--compare", "@/out.diff.png"}, 2,
     "verrine-shot: cannot write @/out.diff.png: it is the reference, @/out.diff.png, which this run reads\n"},
    {"OverThePair", {"@/pair.frag", "--vertex", "resources/shaders/testVertex.txt", "--fragment", "@/pair.frag"}, 2,
     "verrine-shot: cannot write @/pair.frag: it is @/pair.frag, which this run reads\n"},
    {"OverTheTexture", {"resources/textures/stripes.raw", "--size", "8x8"}, 2,
     "verrine-shot: cannot write resources/textures/stripes.raw: it is resources/textures/stripes.raw, which "
     "this run reads\n"},
    // A file with other hard links is not parted from them.
    {"HardLinkedOutput", {"@/hard.png", "--size", "8x8"}, 1,
     "verrine-shot: cannot write @/hard.png: it has other hard links, which a new file would leave holding the "
     "old content; remove it first or write elsewhere\n"},
    // References that are not pictures, or too large ones, are refused
    // before anything is allocated for them.
    {"BombReference", {"@/out.png", "--size", "8x8", "--compare", "@/bomb.png"}, 2,
     "verrine-shot: cannot read @/bomb.png: it is 100000x100000 pixels, more than the largest picture, "
     "8192x8192\n"},
    {"FifoReference", {"@/out.png", "--size", "8x8", "--compare", "@/fifo"}, 2,
     "verrine-shot: cannot read @/fifo: it is not a regular file\n"},
    {"TruncatedReference", {"@/out.png", "--size", "8x8", "--compare", "@/truncated.png"}, 2,
     "verrine-shot: cannot read @/truncated.png: "},
    {"TextReference", {"@/out.png", "--size", "8x8", "--compare", "@/pair.frag"}, 2,
     "verrine-shot: cannot read @/pair.frag: "},
    {"ReferenceOfAnotherSize", {"@/out.png", "--size", "16x8", "--compare", "@/ref.png"}, 2,
     "verrine-shot: cannot compare: @/ref.png is 8x8, the picture 16x8\n"},
    {"ClosedStandardOutput", {">&-", "-", "--size", "8x8"}, 1,
     "verrine-shot: cannot write to standard output: it is closed or not open for writing\n"},
    // Deeper than the usual stack lets the driver compile.
    {"DeepSum", {"@/out.png", "--size", "8x8", "--vertex", "resources/shaders/testVertex.txt", "--fragment",
                 "@/deep.frag"}, 0, ""},
};

void PrintTo(const BadShot& bad, std::ostream* out) { *out << bad.name; }

std::string inFolder(std::string text, const ScratchFolder& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder.path().string());
    }
    return text;
}

// The inputs a bad run must leave as they were.
const char* const kInputs[] = {"ref.png", "out.diff.png", "pair.frag", "resources/textures/stripes.raw"};

void prepareBadShotFolder(const ScratchFolder& scratch) {
    fs::copy(fs::path(VERRINE_SOURCE_DIR) / "resources", scratch / "resources", fs::copy_options::recursive);
    Image reference(8, 8);
    reference.set(3, 4, {200, 100, 50});
    ASSERT_TRUE(writePng(reference, scratch / "ref.png"));
    fs::create_symlink("ref.png", scratch / "link.png");
    fs::create_hard_link(scratch / "ref.png", scratch / "hard.png");
    fs::copy_file(scratch / "ref.png", scratch / "out.diff.png");
    fs::copy_file(scratch / kToonFragment, scratch / "pair.frag");
    ASSERT_EQ(mkfifo((scratch / "fifo").c_str(), 0600), 0);
    const std::string bytes = readWholeFile(scratch / "ref.png");
    scratch.write("truncated.png", bytes.substr(0, bytes.size() / 2));
    scratch.write("bomb.png", pngFile(100000, 100000, 8, 2, "", ""));
    std::string sum = "1.0";
    for (int i = 1; i < 20000; ++i) sum += "+1.0";
    scratch.write("deep.frag", "void main() { gl_FragColor = vec4(" + sum + "); }\n");
}

class BadShots : public testing::TestWithParam<BadShot> {};

TEST_P(BadShots, GetOneClearLineTheirStatusAndLeaveTheInputs) {
    const BadShot& bad = GetParam();
    ScratchFolder scratch;
    prepareBadShotFolder(scratch);
    std::vector<std::string> before;
    for (const char* input : kInputs) before.push_back(readWholeFile(scratch / input));

    std::vector<std::string> command = {VERRINE_SHOT_PATH};
    for (const std::string& argument : bad.arguments) command.push_back(inFolder(argument, scratch));
    if (command.size() > 1 && command[1] == ">&-") {
        command = {"/bin/sh", "-c", "exec \"$0\" \"$@\" >&-", VERRINE_SHOT_PATH};
        for (size_t i = 2; i < bad.arguments.size() + 1; ++i) command.push_back(bad.arguments[i - 1]);
    }
    const ProcessResult result = runProgram(command, scratch.path().string());
    EXPECT_EQ(result.status, bad.status) << result.err;
    if (bad.status == 0) {
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_EQ(result.err.rfind("verrine-shot: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(inFolder(bad.line, scratch)), std::string::npos) << result.err;
    }
    if (bad.line != kUsage) {
        EXPECT_EQ(countOccurrences(result.err, "\n"), bad.status == 0 ? 0 : 1) << result.err;
    }
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(readWholeFile(scratch / kInputs[i]), before[i]) << kInputs[i];
    EXPECT_FALSE(fs::exists(scratch / "second.png"));
}

INSTANTIATE_TEST_SUITE_P(VerrineShot, BadShots, testing::ValuesIn(kBadShots),
                         [](const testing::TestParamInfo<BadShot>& info) { return std::string(info.param.name); });

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
    scratch.write(kToonVertex, "#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n");
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

// Both tools: --version gives the name and project()'s version, with the
// commit in a build from a git checkout; --help starts with the usage.
TEST(VerrineTools, HelpAndVersion) {
    for (const char* name : {"verrine-check", "verrine-shot"}) {
        const std::string program = name == std::string("verrine-check") ? VERRINE_CHECK_PATH : VERRINE_SHOT_PATH;
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

TEST(VerrineShot, AnyPngEncodingComparesByItsPixels) {
    ScratchFolder scratch;
    for (const Encoding& encoding : kEncodings) {
        const std::string path = scratch.write(std::string(encoding.name) + ".png",
                                               pngFile(2, 1, encoding.depth, encoding.colourType, encoding.rows,
                                                       encoding.chunks));
        Picture read;
        std::string problem;
        ASSERT_TRUE(readPng(path, read, problem)) << encoding.name << ": " << problem;
        EXPECT_EQ(std::string(read.rgb.begin(), read.rgb.end()), encoding.expected) << encoding.name;
    }
    // A shot compared with itself in 16 bits matches exactly.
    ASSERT_EQ(shoot(scratch / "shot.png", {"--size", "6x4"}).status, 0);
    const Picture shot = picture(scratch / "shot.png").picture();
    std::string wide;
    for (unsigned char value : shot.rgb) wide += {static_cast<char>(value), static_cast<char>(value)};
    const std::string reference = scratch.write("wide.png", pngFile(6, 4, 16, 2, wide, ""));
    const ProcessResult same = shoot(scratch / "again.png", {"--size", "6x4", "--compare", reference, "--fuzz", "0"});
    EXPECT_EQ(same.status, 0) << same.err;
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
