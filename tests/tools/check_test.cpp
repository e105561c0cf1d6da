// verrine-check run as a shader author would run it: on the shipped files,
// on copies with faults, on pairs of files, in watch mode, and on a machine
// where no context can be made.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/tools/tool_process.h"

namespace {

namespace fs = std::filesystem;

const char kToonVertex[] = "resources/shaders/testVertex.txt";
const char kToonFragment[] = "resources/shaders/testFragment.txt";
const char kEdgeVertex[] = "resources/shaders/edgeVertex.txt";
const char kEdgeFragment[] = "resources/shaders/edgeFragment.txt";

const char kSoundVertex[] = "#version 110\nvoid main()\n{\n    gl_Position = ftransform();\n}\n";
const char kSoundFragment[] = "#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0);\n}\n";

// Every run goes without an X display: the check must never need one.
ProcessResult check(const std::vector<std::string>& arguments, const std::string& workingDirectory = "",
                    const std::vector<std::string>& environment = {}) {
    unsetenv("DISPLAY");
    std::vector<std::string> command = {VERRINE_CHECK_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command, workingDirectory, environment);
}

// Checks one pair written for the test.
ProcessResult checkPair(const ScratchFolder& folder, const std::string& vertex, const std::string& fragment,
                        std::vector<std::string> options = {}) {
    options.insert(options.end(), {"--vertex", folder.write("pair.vert", vertex), "--fragment",
                                   folder.write("pair.frag", fragment)});
    return check(options);
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// A copy of the shipped resources that a test may break.
class ShaderFolder {
public:
    ShaderFolder() {
        fs::copy(fs::path(VERRINE_SOURCE_DIR) / "resources", scratch_.path() / "resources",
                 fs::copy_options::recursive);
    }
    std::string root() const { return scratch_.path().string(); }
    std::string operator/(const std::string& path) const { return scratch_ / path; }
    std::string write(const std::string& path, const std::string& text) const {
        std::ofstream(scratch_ / path, std::ios::binary | std::ios::trunc) << text;
        return scratch_ / path;
    }

private:
    ScratchFolder scratch_;
};

TEST(VerrineCheck, ShippedShadersPassWithoutADisplayOrAWarning) {
    const ProcessResult result = check({}, VERRINE_SOURCE_DIR);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    for (const char* path : {kToonVertex, kToonFragment, kEdgeVertex, kEdgeFragment}) {
        EXPECT_TRUE(contains(result.out, std::string(path) + ": compiles\n")) << path;
    }
    EXPECT_EQ(countOccurrences(result.out, "): links\n"), 2) << result.out;
    EXPECT_FALSE(contains(result.out, "warning")) << result.out;
    EXPECT_TRUE(contains(result.out, "verrine-check: all 2 programs compile and link\n"));
    EXPECT_EQ(result.err, "");
}

// The pairs under examples/ are what the guide tells authors to start from.
TEST(VerrineCheck, ExamplesPassStrictlyWithoutAWarning) {
    for (const char* name : {"phong", "gooch", "normals", "contours"}) {
        const std::string stem = std::string(VERRINE_SOURCE_DIR) + "/examples/" + name;
        const ProcessResult result =
            check({"--strict", "--vertex", stem + ".vert", "--fragment", stem + ".frag"});
        EXPECT_EQ(result.status, 0) << name << '\n' << result.out << result.err;
        EXPECT_TRUE(contains(result.out, "verrine-check: the program compiles and links\n")) << result.out;
    }
}

TEST(VerrineCheck, VerboseShowsEachSourceWithLineNumbers) {
    ShaderFolder folder;
    folder.write(kEdgeFragment, kSoundFragment);
    const ProcessResult result = check({"--verbose", folder.root()});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(countOccurrences(result.out, "       1  #version 110\n"), 4) << result.out;
    EXPECT_TRUE(contains(result.out, folder / kEdgeFragment + ": compiles\n" +
                                         "       1  #version 110\n       2  void main()\n       3  {\n" +
                                         "       4      gl_FragColor = vec4(1.0);\n       5  }\n"))
        << result.out;
}

// The form editors jump from: PATH:LINE:COLUMN, then the line and a caret
// under the column as written (Mesa counts its indentation as one space).
TEST(VerrineCheck, BrokenFileIsReportedAsCompilersDoWithACaret) {
    ShaderFolder folder;
    folder.write(kToonVertex, "#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n");
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_TRUE(contains(result.out, folder / kToonVertex + ": does not compile\n" + folder / kToonVertex +
                                         ":4:19: error: `undeclared' undeclared\n"
                                         "    gl_Position = undeclared;\n"
                                         "                  ^\n"))
        << result.out;
    EXPECT_TRUE(contains(result.out, folder / kToonFragment + ": compiles\n"));
    EXPECT_TRUE(contains(result.out, "toon program (" + folder / kToonVertex + ", " + folder / kToonFragment +
                                         "): does not link\n"))
        << result.out;
    EXPECT_TRUE(contains(result.out, "edge program (" + folder / kEdgeVertex + ", " + folder / kEdgeFragment +
                                         "): links\n"))
        << result.out;
    EXPECT_TRUE(contains(result.out, "verrine-check: 1 of 2 programs failed\n"));
    // The link of a program whose file did not compile only says so again.
    EXPECT_FALSE(contains(result.out, "uncompiled")) << result.out;
}

TEST(VerrineCheck, LinkMessagesStandUnderTheProgramEachOnce) {
    // Both files compile; the vertex stage writes neither varying that the
    // fragment stage reads. Mesa's log repeats each message, with a '.'.
    ShaderFolder folder;
    folder.write(kToonVertex, kSoundVertex);
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_TRUE(contains(result.out, "toon program (" + folder / kToonVertex + ", " + folder / kToonFragment +
                                         "): does not link\n"))
        << result.out;
    for (const char* varying : {"eyeNormal", "eyePosition"}) {
        EXPECT_EQ(countOccurrences(result.out, std::string("toon program: error: fragment shader varying ") +
                                                   varying + " not written by vertex shader\n"),
                  1)
            << result.out;
    }
    EXPECT_FALSE(contains(result.out, "\n.")) << result.out;
    EXPECT_FALSE(contains(result.out, "does not compile")) << result.out;
}

// One plain line each, without the driver's and linker's noise about the
// text that is not there.
TEST(VerrineCheck, UnreadableFilesFailWithOnePlainLine) {
    ShaderFolder folder;
    fs::remove(folder / kEdgeFragment);
    folder.write(kToonFragment, "");
    folder.write(kToonVertex, std::string("\0#version 110\n", 14));
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    const std::vector<std::string> lines = {
        folder / kEdgeFragment + ": error: cannot read the file: No such file or directory\n",
        folder / kToonFragment + ": error: the file is empty\n",
        folder / kToonVertex + ": error: the file starts with a NUL byte, and the driver reads the text only up to it\n",
    };
    for (const std::string& line : lines) EXPECT_EQ(countOccurrences(result.out, line), 1) << result.out;
    EXPECT_FALSE(contains(result.out, "syntax error")) << result.out;
    EXPECT_FALSE(contains(result.out, "program: error")) << result.out;
    EXPECT_TRUE(contains(result.out, "verrine-check: 2 of 2 programs failed\n"));
}

// A driver's message about a very long token is a very long line: the
// report reads it without a regular expression's recursion per character.
TEST(VerrineCheck, HugeTokenIsReportedLikeAnyOther) {
    ScratchFolder folder;
    const std::string token(300000, 'a');
    const ProcessResult result =
        checkPair(folder, kSoundVertex, "void main() { gl_FragColor = vec4(" + token + "); }\n");
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_TRUE(contains(result.out, folder / "pair.frag" + ":1:35: error: `" + token + "' undeclared\n"))
        << result.out.substr(0, 500);
    EXPECT_TRUE(contains(result.out, "verrine-check: the program failed\n"));
}

TEST(VerrineCheck, ByteOrderMarkIsNamedPlainly) {
    ScratchFolder folder;
    const ProcessResult result = checkPair(folder, kSoundVertex, "\xEF\xBB\xBF" + std::string(kSoundFragment));
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_TRUE(contains(result.out, folder / "pair.frag" +
                                         ":1:1: error: the file starts with a UTF-8 byte-order mark, which GLSL "
                                         "does not allow; save the file without it\n"))
        << result.out;
    // The driver's own account blames the #version line or a stray token.
    EXPECT_FALSE(contains(result.out, "#version must")) << result.out;
    EXPECT_FALSE(contains(result.out, "syntax error")) << result.out;
}

// A pair written for another engine links and then draws nothing: what it
// declares and the viewer never feeds is warned about at its declaration.
TEST(VerrineCheck, WarnsAtEachDeclarationTheViewerNeverFeeds) {
    ScratchFolder folder;
    const std::string vertex =
        "attribute vec4 aPosition;\n"
        "uniform mat4 uProjection, uModelView;\n"
        "uniform vec3 CAMERA_POSITION;\n"
        "uniform float uUnused;\n"
        "varying vec2 coordinate;\n"
        "void main()\n"
        "{\n"
        "    coordinate = CAMERA_POSITION.xy + gl_MultiTexCoord0.st;\n"
        "    gl_Position = uProjection * uModelView * aPosition;\n"
        "}\n";
    const std::string fragment =
        "// the stripes on unit 0, which the viewer binds\n"
        "uniform sampler2D stripes;\n"
        "struct Tint { vec3 colour; float amount; };\n"
        "uniform Tint uTint;\n"
        "uniform float uWeights[2];\n"
        "varying vec2 coordinate;\n"
        "void main()\n"
        "{\n"
        "    gl_FragColor = texture2D(stripes, coordinate) * uTint.amount * uWeights[1];\n"
        "}\n";
    const ProcessResult result = checkPair(folder, vertex, fragment);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    const std::string vert = folder / "pair.vert";
    const std::string frag = folder / "pair.frag";
    const std::vector<std::string> warnings = {
        vert + ":1:16: warning: attribute 'aPosition' is never fed: the viewer draws with the built-in "
               "attributes only (gl_Vertex, gl_Normal, gl_Color, gl_MultiTexCoord0)\n"
               "attribute vec4 aPosition;\n"
               "               ^\n",
        vert + ":2:14: warning: uniform 'uProjection' is never set, so it stays zero",
        vert + ":2:27: warning: uniform 'uModelView' is never set",
        frag + ":4:14: warning: uniform 'uTint' is never set",
        frag + ":5:15: warning: uniform 'uWeights' is never set",
    };
    for (const std::string& warning : warnings) EXPECT_TRUE(contains(result.out, warning)) << warning << result.out;
    // Fed, or not active: the camera position, the sampler, an unused uniform.
    EXPECT_EQ(countOccurrences(result.out, ": warning: "), 5) << result.out;
    EXPECT_TRUE(contains(result.out, "verrine-check: the program compiles and links, 5 warnings\n"));

    const ProcessResult strict = checkPair(folder, vertex, fragment, {"--strict"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_TRUE(contains(strict.out, "verrine-check: the program failed, 5 warnings (--strict: they fail)\n"))
        << strict.out;
}

TEST(VerrineCheck, CameraPositionOfAnotherTypeIsNeverSet) {
    ScratchFolder folder;
    const ProcessResult result = checkPair(
        folder, "uniform vec4 CAMERA_POSITION;\nvoid main() { gl_Position = ftransform() + CAMERA_POSITION; }\n",
        kSoundFragment);
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(contains(result.out, folder / "pair.vert" +
                                         ":1:14: warning: uniform 'CAMERA_POSITION' is never set: the viewer "
                                         "sets it as a vec3"))
        << result.out;
}

// Mesa takes a float suffix in GLSL 1.10, which has none; it rejects the
// recursion that the reference compiler lets pass until link time.
TEST(VerrineCheck, SaysWhereTheDriverAndTheReferenceCompilerDisagree) {
    ScratchFolder folder;
    const std::string suffix = "void main()\n{\n    gl_FragColor = vec4(1.0f);\n}\n";
    const ProcessResult accepted = checkPair(folder, kSoundVertex, suffix);
    EXPECT_EQ(accepted.status, 0) << accepted.out;
    EXPECT_TRUE(contains(accepted.out, folder / "pair.frag" +
                                           ":3:5: warning: the driver (Mesa ") &&
                contains(accepted.out, ") accepts this, the reference compiler (glslang) rejects it: "
                                       "'floating-point suffix' : not supported for this version"))
        << accepted.out;

    const ProcessResult secondOpinionOff = checkPair(folder, kSoundVertex, suffix, {"--no-reference"});
    EXPECT_FALSE(contains(secondOpinionOff.out, "glslang")) << secondOpinionOff.out;

    const std::string recursion =
        "#version 110\nfloat f(float x) { return x > 0.0 ? f(x - 1.0) : 0.0; }\n"
        "void main() { gl_FragColor = vec4(f(1.0)); }\n";
    const ProcessResult rejected = checkPair(folder, kSoundVertex, recursion);
    EXPECT_EQ(rejected.status, 1);
    EXPECT_TRUE(contains(rejected.out, ": warning: the reference compiler (glslang) accepts this file, which "
                                       "the driver (Mesa "))
        << rejected.out;

    // Agreement, on the accepted and on the rejected side, adds nothing. A
    // file without #version is desktop GLSL 1.10 to both, with its built-in
    // state (OpenGL ES 1.00 would have no gl_Vertex).
    const ProcessResult bothReject = checkPair(folder, kSoundVertex, "void main() { gl_FragColor = ; }\n");
    EXPECT_FALSE(contains(bothReject.out, "glslang")) << bothReject.out;
    const ProcessResult bothAccept = checkPair(folder, "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n",
                                               "void main() { gl_FragColor = gl_Color; }\n");
    EXPECT_EQ(bothAccept.status, 0);
    EXPECT_FALSE(contains(bothAccept.out, "glslang")) << bothAccept.out;
}

// CPU time of a process, in clock ticks, from /proc.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long user = 0;
    long system = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) user = std::stol(field);
        if (index == 15) system = std::stol(field);
    }
    return user + system;
}

bool waitForText(const std::string& path, const std::string& text, int occurrences) {
    for (int i = 0; i < 200; ++i) {
        if (countOccurrences(readWholeFile(path), text) >= occurrences) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(VerrineCheck, WatchReportsAfterEachSaveIdlesAndStopsAtOnce) {
    ShaderFolder folder;
    ScratchFolder output;
    unsetenv("DISPLAY");
    ChildProcess watcher(capturedInto(output, {VERRINE_CHECK_PATH, "--watch", folder.root()}));
    const std::string out = output / "out";
    ASSERT_TRUE(waitForText(out, "watching for changes", 1)) << readWholeFile(out);
    EXPECT_EQ(countOccurrences(readWholeFile(out), "all 2 programs compile and link"), 1);

    // Waiting is done in the kernel: a second of nothing costs no CPU time.
    const long before = cpuTicks(watcher.pid());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LE(cpuTicks(watcher.pid()) - before, 2);

    // An editor that saves by renaming a new file over the old one.
    const std::string broken = "#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n";
    folder.write("resources/shaders/.testVertex.txt.new", broken);
    fs::rename(folder / "resources/shaders/.testVertex.txt.new", folder / kToonVertex);
    ASSERT_TRUE(waitForText(out, "1 of 2 programs failed", 1)) << readWholeFile(out);
    EXPECT_TRUE(contains(readWholeFile(out), "] resources/shaders/testVertex.txt changed\n"));

    // One that writes in place.
    folder.write(kToonVertex, kSoundVertex);
    ASSERT_TRUE(waitForText(out, "changed\n", 2)) << readWholeFile(out);
    ASSERT_TRUE(waitForText(out, "toon program: error: fragment shader varying", 1)) << readWholeFile(out);
    // A file the check does not read changes nothing.
    folder.write("resources/shaders/notes.txt", "");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(countOccurrences(readWholeFile(out), "changed\n"), 2) << readWholeFile(out);

    kill(watcher.pid(), SIGINT);
    EXPECT_EQ(watcher.waitForExit(std::chrono::seconds(5)), 0);
    EXPECT_EQ(readWholeFile(output / "err"), "");

    // A stop in the middle of a check the driver takes long over (chained
    // macros, tens of seconds) is acted on at once: Ctrl-C with status 0,
    // SIGTERM as a death by that signal.
    std::string macros = "#define M0 1.0\n";
    for (int i = 1; i < 40000; ++i) macros += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + "\n";
    const std::string slow = folder.write("slow.frag", macros + "void main() { gl_FragColor = vec4(M39999); }\n");
    for (int stop : {SIGINT, SIGTERM}) {
        ChildProcess checking(capturedInto(output, {VERRINE_CHECK_PATH, "--watch", "--no-reference", "--vertex",
                                                    folder / kToonVertex, "--fragment", slow}));
        std::this_thread::sleep_for(std::chrono::seconds(1));
        kill(checking.pid(), stop);
        EXPECT_EQ(checking.waitForExit(std::chrono::seconds(2)), stop == SIGINT ? 0 : 128 + SIGTERM);
    }
}

TEST(VerrineCheck, WithoutAContextSaysSoInOneLineAndExits2) {
    // GLVND's EGL finds no vendor library, so no display can be made.
    const ProcessResult result = check({VERRINE_SOURCE_DIR}, "",
                                       {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("verrine-check: no OpenGL context: ", 0), 0u) << result.err;
    EXPECT_EQ(countOccurrences(result.err, "\n"), 1) << result.err;
}

// Sums of N terms: the driver's compiler recurses once per term.
std::string sumShader(int terms) {
    std::string sum = "1.0";
    for (int i = 1; i < terms; ++i) sum += "+1.0";
    return "void main() { gl_FragColor = vec4(" + sum + "); }\n";
}

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

std::string inFolder(std::string text, const ScratchFolder& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder.path().string());
    }
    return text;
}

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

}  // namespace
