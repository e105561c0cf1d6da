// Bad inputs to both tools, as a careless or hostile user gives them: each
// gets one clear line and its status, nothing waits or crashes, and no input
// is ever overwritten.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "tests/support/image.h"
#include "tests/tools/check_process.h"

namespace {

namespace fs = std::filesystem;

// --- verrine-check -----------------------------------------------------------

// What a careless or hostile user may give, and the one line each gets. In
// arguments and lines, "@" stands for the scratch folder; files named
// pair.frag is written there from `fragment` first, and "fifo" and "folder"
// exist there too. Arguments {"+", FILE} check FILE with a sound vertex side.
struct BadInput {
    const char* name;
    std::vector<std::string> arguments;
    std::string fragment;  // pair.frag's bytes, when the case writes it
    int status;
    std::string line;      // in the standard output or error
    std::string workingDirectory = "";
};

const BadInput kBadInputs[] = {
    {"UnknownOption", {"--strictly"}, "", 2, "verrine-check: unknown option --strictly\nusage: verrine-check"},
    {"TwoFolders", {"a", "b"}, "", 2, "verrine-check: more than one DIR given\nusage: verrine-check"},
    {"VertexAlone", {"--vertex", "a.vert"}, "", 2, "verrine-check: --vertex and --fragment go together: a program needs both stages\nusage: verrine-check"},
    {"FragmentAlone", {"--fragment", "a.frag"}, "", 2, "verrine-check: --vertex and --fragment go together: a program needs both stages\nusage: verrine-check"},
    {"VertexWithoutFile", {"--vertex"}, "", 2, "verrine-check: --vertex needs a file\nusage: verrine-check"},
    {"PairAndFolder", {"--vertex", "a.vert", "--fragment", "a.frag", "folder"}, "", 2,
     "verrine-check: give either DIR or --vertex and --fragment, not both\nusage: verrine-check"},
    {"MissingFolder", {"/nonexistent/folder"}, "", 2,
     "verrine-check: cannot enter /nonexistent/folder: No such file or directory\n"},
    {"NothingToWatch", {"--watch"}, "", 2, "verrine-check: cannot watch resources/shaders: No such file or directory\n", "/"},
    // Read through one descriptor, opened without waiting: nothing blocks.
    {"Fifo", {"+", "@/fifo"}, "", 1, "@/fifo: error: cannot read the file: it is not a regular file\n"},
    {"Zeros", {"+", "/dev/zero"}, "", 1, "/dev/zero: error: cannot read the file: it is not a regular file\n"},
    {"Random", {"+", "/dev/urandom"}, "", 1, "/dev/urandom: error: cannot read the file: it is not a regular file\n"},
    {"Folder", {"+", "@/folder"}, "", 1, "@/folder: error: cannot read the file: it is a folder\n"},
    // The driver stops at a NUL; the report says so where it is.
    {"NulInTheMiddle", {"+", "@/pair.frag"}, "void main()\n{\n    gl_" + std::string(1, '\0') + "FragColor = vec4(1.0);\n}\n",
     1, "@/pair.frag:3:8: error: a NUL byte here, and the driver reads the text only up to it\n    gl_\n       ^\n"},
    {"NulAfterTheEnd", {"+", "@/pair.frag"}, kSoundFragment + std::string(1, '\0') + "junk", 0,
     "@/pair.frag:6: warning: a NUL byte here, and the driver reads the text only up to it\n"},
    // Judged by the driver, as the viewer has it judged.
    {"InvalidUtf8", {"+", "@/pair.frag"}, "void main() { gl_FragColor = vec4(1.0); \xFF\xFE }\n", 1,
     "@/pair.frag: does not compile\n"},
    {"MillionCharacterLine", {"+", "@/pair.frag"}, kSoundFragment + ("//" + std::string(1000000, 'x')) + "\n", 0,
     "verrine-check: the program compiles and links\n"},
    // Mesa needs about 10 MiB of stack for this sum, more than the usual 8.
    {"DeepSum", {"+", "@/pair.frag"}, sumShader(20000), 0, "verrine-check: the program compiles and links\n"},
    // Deeper than even the tool's stack: one line, and status 1 as a failed compile.
    {"DeeperSum", {"+", "@/pair.frag"}, sumShader(160000), 1,
     "verrine-check: @/pair.frag: the OpenGL driver crashed while compiling it\n"},
};

void PrintTo(const BadInput& bad, std::ostream* out) { *out << bad.name; }

class BadInputs : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, GetOneClearLineAndTheirStatus) {
    const BadInput& bad = GetParam();
    ScratchFolder folder;
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "folder");
    if (!bad.fragment.empty()) folder.write("pair.frag", bad.fragment);
    std::vector<std::string> arguments;
    for (const std::string& argument : bad.arguments) arguments.push_back(inFolder(argument, folder));
    if (arguments.front() == "+") {
        arguments = {"--no-reference", "--vertex", folder.write("pair.vert", kSoundVertex), "--fragment", arguments[1]};
    }
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = check(arguments, bad.workingDirectory);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(result.status, bad.status) << result.out << result.err;
    EXPECT_TRUE(contains(result.out + result.err, inFolder(bad.line, folder))) << result.out.substr(0, 2000) << result.err;
    // Quick even on a loaded machine: nothing waits, nothing runs away.
    EXPECT_LT(seconds, 10.0);
    if (bad.status == 2) {
        EXPECT_EQ(result.err.rfind("verrine-check: ", 0), 0u) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(VerrineCheck, BadInputs, testing::ValuesIn(kBadInputs),
                         [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// --- verrine-shot ------------------------------------------------------------

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
    {"OverAShaderOfTheScene", {"resources/shaders/edgeFragment.txt", "--size", "8x8"}, 2,
     "verrine-shot: cannot write resources/shaders/edgeFragment.txt: it is resources/shaders/edgeFragment.txt, "
     "which this run reads\n"},
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
    scratch.write("deep.frag", sumShader(20000));
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

}  // namespace
