// Reading a GLSL source file into one string, and the traces of reading.
#include <string>

#include <gtest/gtest.h>

#include "render/render_options.h"
#include "shaders/shader_program.h"
#include "tests/shaders/captured_diagnostics.h"
#include "tests/support/named_pipe.h"

namespace {

using namespace std::string_literals;

struct SourceCase {
    const char* name;
    std::string fileBytes;
    std::string expected;
};

void PrintTo(const SourceCase& value, std::ostream* out) { *out << value.name; }

class ReadSource : public ::testing::TestWithParam<SourceCase> {};

TEST_P(ReadSource, GivesEachLineFollowedByOneLineFeed) {
    ScratchFolder folder;
    const std::string path = folder.write("source.txt", GetParam().fileBytes);
    CapturedDiagnostics captured;
    EXPECT_EQ(ShaderProgram::readSource(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSource,
    ::testing::Values(
        SourceCase{"FinalLineFeed", "void main()\n{}\n", "void main()\n{}\n"},
        SourceCase{"NoFinalLineFeed", "void main()\n{}", "void main()\n{}\n"},
        SourceCase{"WindowsLineEnds", "void main()\r\n{}\r\n", "void main()\n{}\n"},
        SourceCase{"WindowsLineEndsNoFinal", "void main()\r\n{}", "void main()\n{}\n"},
        // Only a CR right before an LF belongs to the line end.
        SourceCase{"LoneCarriageReturns", "a\rb\r\nc\r", "a\rb\nc\r\n"},
        SourceCase{"BlankLineInside", "first\n\nthird\n", "first\n\nthird\n"},
        SourceCase{"OnlyBlankLines", "\n\n", "\n\n"},
        SourceCase{"Empty", "", ""},
        SourceCase{"NulByte", "before\0after\n"s, "before\0after\n"s}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

TEST(ReadSourceFailures, MissingFileAndFolderGiveEmptyText) {
    ScratchFolder folder;
    CapturedDiagnostics captured;
    EXPECT_EQ(ShaderProgram::readSource((folder.path() / "missing.txt").string()), "");
    // A folder opens on some systems and then fails at its first read.
    EXPECT_EQ(ShaderProgram::readSource(folder.path().string()), "");
    EXPECT_TRUE(captured.reports().empty());
}

// Neither waits for a writer nor reads without end: both give empty text.
TEST(ReadSourceFailures, NamedPipeAndEndlessDeviceGiveEmptyText) {
    ScratchFolder folder;
    const std::string pipe = folder / "pipe.txt";
    ASSERT_TRUE(makeNamedPipe(pipe));
    CapturedDiagnostics captured;
    std::string fromPipe = "not read";
    EXPECT_TRUE(finishesWithoutAWriter(pipe, [&] { fromPipe = ShaderProgram::readSource(pipe); }));
    EXPECT_EQ(fromPipe, "");
    EXPECT_EQ(ShaderProgram::readSource("/dev/zero"), "");
}

TEST(ReadSourceTraces, PathThenTextForEveryRead) {
    ScratchFolder folder;
    const std::string present = folder.write("present.txt", "line\r\n");
    const std::string missing = (folder.path() / "missing.txt").string();
    CapturedDiagnostics captured;

    ShaderProgram::readSource(present);
    ShaderProgram::readSource(missing);

    const std::vector<Diagnostic> expected = {
        {"File import path", present}, {"Shader text", "line\n"},
        {"File import path", missing}, {"Shader text", ""},
    };
    EXPECT_EQ(captured.all(), expected);
}

TEST(ReadSourceTraces, NoneWhenShaderDebugIsOff) {
    ScratchFolder folder;
    const std::string path = folder.write("present.txt", "line\n");
    CapturedDiagnostics captured;
    options->shaderDebug = false;
    const std::string text = ShaderProgram::readSource(path);
    options->shaderDebug = true;
    EXPECT_EQ(text, "line\n");
    EXPECT_TRUE(captured.all().empty());
}

}  // namespace
