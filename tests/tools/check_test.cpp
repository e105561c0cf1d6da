// verrine-check run as a shader author would run it: on the shipped files,
// on copies with faults, and on a machine where no context can be made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/tools/tool_process.h"

namespace {

namespace fs = std::filesystem;

const char kToonVertex[] = "resources/shaders/testVertex.txt";
const char kToonFragment[] = "resources/shaders/testFragment.txt";
const char kEdgeVertex[] = "resources/shaders/edgeVertex.txt";
const char kEdgeFragment[] = "resources/shaders/edgeFragment.txt";

// Every run goes without an X display: the check must never need one.
ProcessResult check(const std::vector<std::string>& arguments, const std::string& workingDirectory = "",
                    const std::vector<std::string>& environment = {}) {
    unsetenv("DISPLAY");
    std::vector<std::string> command = {VERRINE_CHECK_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command, workingDirectory, environment);
}

// A copy of the shipped resources that a test may break.
class ShaderFolder {
public:
    ShaderFolder() {
        fs::copy(fs::path(VERRINE_SOURCE_DIR) / "resources", scratch_.path() / "resources",
                 fs::copy_options::recursive);
    }
    std::string root() const { return scratch_.path().string(); }
    std::string operator/(const std::string& path) const { return scratch_ / path; }
    void write(const std::string& path, const std::string& text) const {
        std::ofstream(scratch_ / path, std::ios::binary | std::ios::trunc) << text;
    }

private:
    ScratchFolder scratch_;
};

TEST(VerrineCheck, ShippedShadersPassWithoutADisplay) {
    const ProcessResult result = check({}, VERRINE_SOURCE_DIR);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    for (const char* path : {kToonVertex, kToonFragment, kEdgeVertex, kEdgeFragment}) {
        EXPECT_NE(result.out.find(std::string(path) + ": compiles\n"), std::string::npos) << path;
    }
    EXPECT_EQ(countOccurrences(result.out, "): links\n"), 2) << result.out;
    EXPECT_EQ(result.err, "");
}

TEST(VerrineCheck, VerboseShowsEachSourceWithLineNumbers) {
    ShaderFolder folder;
    folder.write(kEdgeFragment, "#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0);\n}\n");
    const ProcessResult result = check({"--verbose", folder.root()});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(countOccurrences(result.out, "       1  #version 110\n"), 4) << result.out;
    EXPECT_NE(result.out.find(folder / kEdgeFragment + ": compiles\n" +
                              "       1  #version 110\n       2  void main()\n       3  {\n" +
                              "       4      gl_FragColor = vec4(1.0);\n       5  }\n"),
              std::string::npos)
        << result.out;
}

TEST(VerrineCheck, BrokenVertexFileFailsWithTheDriversLineNumber) {
    ShaderFolder folder;
    folder.write(kToonVertex, "#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n");
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;

    // The driver's log stands under the file it belongs to, with the line
    // the error is on (Mesa writes "0:LINE(COLUMN)").
    const size_t heading = result.out.find(folder / kToonVertex + ": does not compile\n");
    ASSERT_NE(heading, std::string::npos) << result.out;
    const size_t next = result.out.find(folder / kToonFragment, heading);
    const std::string report = result.out.substr(heading, next - heading);
    EXPECT_NE(report.find("    Shader compilation failed. Printing log:\n"), std::string::npos);
    EXPECT_NE(report.find("0:4("), std::string::npos) << report;
    EXPECT_NE(report.find("undeclared"), std::string::npos) << report;

    // The sound fragment file compiles; the program cannot link; the other
    // program is not affected.
    EXPECT_NE(result.out.find(folder / kToonFragment + ": compiles\n"), std::string::npos);
    EXPECT_NE(result.out.find("toon program (" + folder / kToonVertex + ", " +
                              folder / kToonFragment + "): does not link\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("edge program (" + folder / kEdgeVertex + ", " +
                              folder / kEdgeFragment + "): links\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("verrine-check: 1 of 2 programs failed\n"), std::string::npos);
}

TEST(VerrineCheck, LinkFailureIsReportedUnderItsProgram) {
    // Both files compile, but the vertex stage has no main.
    ShaderFolder folder;
    folder.write(kEdgeVertex, "#version 110\nvoid helper()\n{\n}\n");
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_NE(result.out.find(folder / kEdgeVertex + ": compiles\n"), std::string::npos);
    const std::string heading = "edge program (" + folder / kEdgeVertex + ", " +
                                folder / kEdgeFragment + "): does not link\n" +
                                "    Shader program link failed. Printing log:\n";
    EXPECT_NE(result.out.find(heading), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("does not compile"), std::string::npos) << result.out;
}

TEST(VerrineCheck, MissingOrEmptyFilesFail) {
    ShaderFolder folder;
    fs::remove(folder / kEdgeFragment);
    folder.write(kToonFragment, "");
    const ProcessResult result = check({folder.root()});
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    for (const char* path : {kEdgeFragment, kToonFragment}) {
        EXPECT_NE(result.out.find(folder / path + ": nothing read (missing, unreadable or empty file)\n"),
                  std::string::npos)
            << result.out;
    }
    EXPECT_NE(result.out.find("verrine-check: 2 of 2 programs failed\n"), std::string::npos);
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

TEST(VerrineCheck, BadArgumentsOrFolderExit2) {
    const ProcessResult unknown = check({"--strict"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("usage: verrine-check [--verbose] [DIR]\n"), std::string::npos);

    const ProcessResult twoFolders = check({"a", "b"});
    EXPECT_EQ(twoFolders.status, 2);
    EXPECT_NE(twoFolders.err.find("usage: verrine-check"), std::string::npos);

    const ProcessResult missing = check({"/nonexistent/folder"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "verrine-check: cannot enter /nonexistent/folder: No such file or directory\n");
}

}  // namespace
