// verrine-check run as a shader author would run it: on the shipped files,
// on copies with faults, on pairs of files, in watch mode, and on a machine
// where no context can be made.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/tools/check_process.h"

namespace {

namespace fs = std::filesystem;

const char kEdgeVertex[] = "resources/shaders/edgeVertex.txt";
const char kEdgeFragment[] = "resources/shaders/edgeFragment.txt";

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

// Each command of the guide's shell blocks runs as written from the folder
// it names, the repository's root: here a copy of it made of links, so
// that what the commands write lands in a scratch folder.
TEST(VerrineCheck, GuideCommandsRunAsWrittenFromTheRepositoryRoot) {
    ScratchFolder root;
    for (const char* name : {"examples", "resources"}) {
        fs::create_directory_symlink(fs::path(VERRINE_SOURCE_DIR) / name, root.path() / name);
    }
    fs::create_directory_symlink(VERRINE_BUILD_DIR, root.path() / "build");
    std::istringstream guide(readWholeFile(fs::path(VERRINE_SOURCE_DIR) / "docs/writing-shaders.md"));
    bool inShellBlock = false;
    int commands = 0;
    for (std::string line; std::getline(guide, line);) {
        if (line.rfind("```", 0) == 0) {
            inShellBlock = line == "```sh";
        } else if (inShellBlock && !line.empty()) {
            const ProcessResult result = runProgram({"/bin/sh", "-c", line}, root.path().string());
            EXPECT_EQ(result.status, 0) << line << '\n' << result.out << result.err;
            ++commands;
        }
    }
    EXPECT_GE(commands, 2);
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

TEST(VerrineCheck, BrokenFileIsReportedAsCompilersDoWithACaret) {
    ShaderFolder folder;
    folder.write(kToonVertex, kBrokenVertex);
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_TRUE(contains(result.out,
                         folder / kToonVertex + ": does not compile\n" + folder / kToonVertex + kBrokenVertexReport))
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

TEST(VerrineCheck, LinkMessagesStandAtTheDeclarationTheyNameEachOnce) {
    // Both files compile; the vertex stage writes neither varying that the
    // fragment stage reads. Mesa's log repeats each message, with a '.'.
    ShaderFolder folder;
    folder.write(kToonVertex, kSoundVertex);
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_TRUE(contains(result.out, "toon program (" + folder / kToonVertex + ", " + folder / kToonFragment +
                                         "): does not link\n"))
        << result.out;
    for (const char* located : {":11:14: error: fragment shader varying eyePosition not written by vertex shader\n"
                                "varying vec3 eyePosition;\n             ^\n",
                                ":12:14: error: fragment shader varying eyeNormal not written by vertex shader\n"}) {
        EXPECT_EQ(countOccurrences(result.out, folder / kToonFragment + located), 1) << result.out;
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
    folder.write("resources/shaders/.testVertex.txt.new", kBrokenVertex);
    fs::rename(folder / "resources/shaders/.testVertex.txt.new", folder / kToonVertex);
    ASSERT_TRUE(waitForText(out, "1 of 2 programs failed", 1)) << readWholeFile(out);
    EXPECT_TRUE(contains(readWholeFile(out), "] resources/shaders/testVertex.txt changed\n"));

    // One that writes in place.
    folder.write(kToonVertex, kSoundVertex);
    ASSERT_TRUE(waitForText(out, "changed\n", 2)) << readWholeFile(out);
    ASSERT_TRUE(waitForText(out, "error: fragment shader varying", 1)) << readWholeFile(out);
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

}  // namespace
