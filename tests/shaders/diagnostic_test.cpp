// The diagnostic output: its standard-error format and the replaceable sink.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "shaders/diagnostic.h"
#include "tests/shaders/captured_diagnostics.h"

namespace {

// Runs writeDiagnostic with standard error sent to a file; returns the bytes.
std::string standardErrorOf(const std::string& caption, const std::string& text) {
    ScratchFolder folder;
    const std::string path = folder.write("stderr.txt", "");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    std::FILE* file = std::fopen(path.c_str(), "w");
    dup2(fileno(file), STDERR_FILENO);
    writeDiagnostic(caption, text);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::fclose(file);
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

struct FormatCase {
    const char* name;
    std::string caption;
    std::string text;
    std::string written;
};

void PrintTo(const FormatCase& value, std::ostream* out) { *out << value.name; }

class DiagnosticFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DiagnosticFormat, OnStandardError) {
    EXPECT_EQ(standardErrorOf(GetParam().caption, GetParam().text), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DiagnosticFormat,
    ::testing::Values(
        FormatCase{"CaptionAndText", "File import path", "resources/shaders/testVertex.txt",
                   "--- File import path ---\nresources/shaders/testVertex.txt\n"},
        FormatCase{"TextEndingInLineFeed", "Shader text", "void main()\n{}\n",
                   "--- Shader text ---\nvoid main()\n{}\n"},
        FormatCase{"CaptionAndEmptyText", "Shader text", "", "--- Shader text ---\n\n"},
        FormatCase{"EmptyCaption", "", "Shader failed to correctly initialize.",
                   "Shader failed to correctly initialize.\n"},
        FormatCase{"EmptyCaptionTextEndingInLineFeed", "", "log\n", "log\n"}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(DiagnosticSinkTest, ReplacedThenRestored) {
    {
        CapturedDiagnostics captured;
        EXPECT_EQ(standardErrorOf("caption", "text"), "");
        const std::vector<Diagnostic> expected = {{"caption", "text"}};
        EXPECT_EQ(captured.all(), expected);
    }
    EXPECT_EQ(standardErrorOf("caption", "text"), "--- caption ---\ntext\n");
}

TEST(DiagnosticSinkTest, NullRestoresStandardError) {
    CapturedDiagnostics captured;
    setDiagnosticSink(nullptr);
    EXPECT_EQ(standardErrorOf("", "text"), "text\n");
    EXPECT_TRUE(captured.all().empty());
}

}  // namespace
