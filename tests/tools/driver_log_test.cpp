// The drivers' log formats that verrine-check turns into editor locations.
// Only Mesa's can be produced on this machine; the others are their
// documented shapes.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/shader_report/driver_log.h"
#include "tools/shader_report/source_diagnostic.h"

namespace {

struct LogCase {
    const char* driver;
    const char* log;
    std::vector<LogMessage> expected;
};

const LogCase kLogCases[] = {
    {"Mesa", "0:4(16): error: `undeclared' undeclared\n0:1(4): preprocessor error: syntax error\n",
     {{4, 16, "error", "`undeclared' undeclared"}, {1, 4, "error", "syntax error"}}},
    {"Mesa warning", "0:3(22): warning: Float suffixes are invalid in GLSL 1.10\n",
     {{3, 22, "warning", "Float suffixes are invalid in GLSL 1.10"}}},
    {"NVIDIA", "0(12) : error C1008: undefined variable \"foo\"\n0(3) : warning C7022: unrecognized profile\n",
     {{12, 0, "error", "C1008: undefined variable \"foo\""}, {3, 0, "warning", "C7022: unrecognized profile"}}},
    {"AMD and Intel on Windows", "ERROR: 0:7: 'foo' : undeclared identifier\r\nWARNING: 0:2: extension\r\n",
     {{7, 0, "error", "'foo' : undeclared identifier"}, {2, 0, "warning", "extension"}}},
    // Mesa's link log: each message again after a '.', and a last '.'.
    {"Mesa link", "error: varying a not written\n.error: varying a not written\n.error: varying b not written\n.\n",
     {{0, 0, "error", "varying a not written"}, {0, 0, "error", "varying b not written"}}},
    {"anything else", "Internal compiler error.\n\n  in pass 3\n",
     {{0, 0, "", "Internal compiler error."}, {0, 0, "", "  in pass 3"}}},
};

void PrintTo(const LogCase& logCase, std::ostream* out) { *out << logCase.driver; }

class DriverLogFormats : public testing::TestWithParam<LogCase> {};

TEST_P(DriverLogFormats, GiveLineColumnSeverityAndText) {
    const std::vector<LogMessage> parsed = parseDriverLog(GetParam().log);
    ASSERT_EQ(parsed.size(), GetParam().expected.size());
    for (size_t i = 0; i < parsed.size(); ++i) {
        const LogMessage& expected = GetParam().expected[i];
        EXPECT_EQ(parsed[i].line, expected.line) << i;
        EXPECT_EQ(parsed[i].column, expected.column) << i;
        EXPECT_EQ(parsed[i].severity, expected.severity) << i;
        EXPECT_EQ(parsed[i].text, expected.text) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(VerrineCheck, DriverLogFormats, testing::ValuesIn(kLogCases));

// Mesa counts columns after its preprocessor made each run of blanks and
// comments one space.
TEST(VerrineCheck, MesaColumnsMapBackToTheLineAsWritten) {
    EXPECT_EQ(sourceColumn("gl_Position = x;", 15), 15);
    EXPECT_EQ(sourceColumn("        gl_Position = x;", 16), 23);
    EXPECT_EQ(sourceColumn("\tgl_Position  =   /* c */ x;", 16), 27);
    EXPECT_EQ(sourceColumn("x;", 9), 3);
}

// The caret copies the tabs before its column, so it stands under the same
// character whatever the terminal's tab width.
TEST(VerrineCheck, TheCaretStandsUnderTheColumnAsWritten) {
    struct CaretCase {
        std::string line;
        int column;
        std::string caret;
    };
    const CaretCase kCases[] = {
        {"    gl_Position = x;", 19, std::string(18, ' ') + "^"},
        {"\tgl_Position = x;", 16, "\t" + std::string(14, ' ') + "^"},
        {"\t  \tx = y;", 7, "\t  \t  ^"},
    };
    for (const CaretCase& caretCase : kCases) {
        std::ostringstream out;
        printDiagnostic(out, {"a.vert", 1, caretCase.column, "error", "m"}, caretCase.line);
        EXPECT_EQ(out.str(), "a.vert:1:" + std::to_string(caretCase.column) + ": error: m\n" + caretCase.line + "\n" +
                                 caretCase.caret + "\n");
    }
}

}  // namespace
