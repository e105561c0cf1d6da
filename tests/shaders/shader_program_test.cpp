// Building one program: the compile and link reports, the traces of a build,
// the shipped sources, and the fixed-pipeline entry.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shaders/shader_program.h"
#include "tests/shaders/captured_diagnostics.h"
#include "tests/shaders/program_in_use.h"
#include "tests/support/test_window.h"

namespace {

const char kSoundVertex[] =
    "#version 110\n"
    "void main()\n"
    "{\n"
    "    gl_Position = ftransform();\n"
    "}\n";
// The error sits on line 4.
const char kBrokenVertex[] =
    "#version 110\n"
    "void main()\n"
    "{\n"
    "    gl_Position = ;\n"
    "}\n";
const char kSoundFragment[] =
    "#version 110\n"
    "void main()\n"
    "{\n"
    "    gl_FragColor = vec4(1.0);\n"
    "}\n";
// Compiles, but a stage without main cannot be linked.
const char kFragmentWithoutMain[] =
    "#version 110\n"
    "vec4 shade()\n"
    "{\n"
    "    return vec4(1.0);\n"
    "}\n";

const char kToonVertexPath[] = "resources/shaders/testVertex.txt";
const char kToonFragmentPath[] = "resources/shaders/testFragment.txt";
const char kEdgeVertexPath[] = "resources/shaders/edgeVertex.txt";
const char kEdgeFragmentPath[] = "resources/shaders/edgeFragment.txt";

// The driver's own log for a vertex source, fetched independently of the
// code under test.
std::string driverCompileLog(const char* source) {
    GLuint shader = glCreateShader(GL_VERTEX_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    glDeleteShader(shader);
    return log.c_str();
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log.c_str();
}

bool isLinked(GLuint program) {
    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status != 0;
}

class ShaderProgramBuild : public ::testing::Test {
protected:
    TestWindow window;
    ScratchFolder folder;
};

TEST_F(ShaderProgramBuild, BrokenVertexSourceGivesOneCompileReportWithTheDriverLog) {
    const std::string vertex = folder.write("vertex.txt", kBrokenVertex);
    const std::string fragment = folder.write("fragment.txt", kSoundFragment);
    const std::string driverLog = driverCompileLog(kBrokenVertex);
    ASSERT_NE(driverLog.find("0:4("), std::string::npos) << driverLog;

    CapturedDiagnostics captured;
    ShaderProgram program(kToonMode, vertex, fragment);

    // The fragment stage compiles; the program is still made and linked, and
    // its link fails for want of a vertex stage.
    const std::vector<std::string> reports = captured.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], kCompileReportHeader + driverLog);
    EXPECT_EQ(reports[0].find('\n'), 40u);
    EXPECT_EQ(reports[1].rfind(kLinkReportHeader, 0), 0u) << reports[1];
    EXPECT_NE(program.program, 0u);
    EXPECT_FALSE(isLinked(program.program));

    // Observed, the same build is told to the observer alone, traces included.
    CapturedDiagnostics observedCapture;
    std::vector<ShaderBuild> builds;
    const ShaderProgram observed(kToonMode, vertex, fragment,
                                 [&builds](const ShaderBuild& build) { builds.push_back(build); });
    EXPECT_TRUE(observedCapture.all().empty());
    ASSERT_EQ(builds.size(), 1u);
    EXPECT_EQ(builds[0].mode, kToonMode);
    EXPECT_EQ(builds[0].program, observed.program);
    EXPECT_EQ(builds[0].vertex.path, vertex);
    EXPECT_FALSE(builds[0].vertex.compiled);
    EXPECT_EQ(builds[0].vertex.log, driverLog);
    EXPECT_TRUE(builds[0].fragment.compiled);
    EXPECT_EQ(builds[0].fragment.source, kSoundFragment);
    EXPECT_FALSE(builds[0].linked);
    EXPECT_FALSE(builds[0].linkLog.empty());
}

TEST_F(ShaderProgramBuild, LinkFailureIsReportedWithTheProgramLog) {
    const std::string vertex = folder.write("vertex.txt", kSoundVertex);
    const std::string fragment = folder.write("fragment.txt", kFragmentWithoutMain);
    CapturedDiagnostics captured;
    ShaderProgram sound(kEdgeMode, kEdgeVertexPath, kEdgeFragmentPath);
    ShaderProgram unlinked(kToonMode, vertex, fragment);

    ASSERT_NE(unlinked.program, 0u);
    ASSERT_FALSE(isLinked(unlinked.program));
    const std::string log = programLog(unlinked.program);
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(captured.reports(), std::vector<std::string>{kLinkReportHeader + log});

    // OpenGL refuses the unlinked program: the one in use before stays.
    sound.use();
    unlinked.use();
    EXPECT_EQ(programInUse(), sound.program);
}

TEST_F(ShaderProgramBuild, ShippedSourcesBuildWithoutReport) {
    CapturedDiagnostics captured;
    ShaderProgram toon(kToonMode, kToonVertexPath, kToonFragmentPath);
    ShaderProgram edge(kEdgeMode, kEdgeVertexPath, kEdgeFragmentPath);

    EXPECT_TRUE(captured.reports().empty()) << captured.reports().front();
    EXPECT_TRUE(isLinked(toon.program));
    EXPECT_TRUE(isLinked(edge.program));
    EXPECT_NE(toon.program, edge.program);
    // An unused uniform is dropped by the compiler: an active location means
    // the camera position reaches the edge picture.
    EXPECT_NE(glGetUniformLocation(edge.program, "CAMERA_POSITION"), -1);

    toon.use();
    EXPECT_EQ(programInUse(), toon.program);
    edge.use();
    EXPECT_EQ(programInUse(), edge.program);
}

TEST_F(ShaderProgramBuild, TracesVertexFileThenFragmentFile) {
    const std::string vertex = folder.write("vertex.txt", kSoundVertex);
    const std::string fragment = folder.write("fragment.txt", kSoundFragment);
    CapturedDiagnostics captured;
    ShaderProgram program(kToonMode, vertex, fragment);

    const std::vector<Diagnostic> expected = {
        {"File import path", vertex},   {"Shader text", kSoundVertex},
        {"File import path", fragment}, {"Shader text", kSoundFragment},
    };
    EXPECT_EQ(captured.all(), expected);
}

// The driver reads the source up to its first NUL: what follows the NUL,
// however broken, is never compiled.
TEST_F(ShaderProgramBuild, SourceEndsAtItsFirstNul) {
    using namespace std::string_literals;
    const std::string vertex = folder.write("vertex.txt", kSoundVertex + "\0 not GLSL\n"s);
    const std::string fragment = folder.write("fragment.txt", kSoundFragment);
    CapturedDiagnostics captured;
    ShaderProgram program(kToonMode, vertex, fragment);
    EXPECT_TRUE(captured.reports().empty());
    EXPECT_TRUE(isLinked(program.program));
}

TEST_F(ShaderProgramBuild, FixedPipelineEntryReadsNoFileAndSelectsProgramZero) {
    ShaderProgram toon(kToonMode, kToonVertexPath, kToonFragmentPath);
    toon.use();
    CapturedDiagnostics captured;
    ShaderProgram fixedPipeline(kFixedPipelineMode, kToonVertexPath, kToonFragmentPath);
    EXPECT_TRUE(captured.all().empty());
    EXPECT_EQ(fixedPipeline.program, 0u);

    // Copies share the name; using one is using the other.
    ShaderProgram copy = toon;
    fixedPipeline.use();
    EXPECT_EQ(programInUse(), 0u);
    copy.use();
    EXPECT_EQ(programInUse(), toon.program);
}

}  // namespace
