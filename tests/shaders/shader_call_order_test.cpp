// The order of OpenGL work while the programs are built, recorded for real:
// the loading test case runs again in a child process under apitrace, and
// the calls it made after its marker are read back from the trace.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/shaders/captured_diagnostics.h"

namespace {

const char kTracedCase[] = "ShaderSetLoading.BuildsThreeEntriesAndUsesTheFixedPipeline";
const char kMarker[] = "\"loadPrograms\"";

int run(const std::string& command) {
    return std::system(command.c_str());
}

// One dumped call as "name key=value ... -> result", with only the object
// names, shader types and parameter names: enough to check the order and
// which object each call worked on. Source strings are left out.
std::string describe(const std::string& name, const std::string& arguments,
                     const std::string& result) {
    static const std::regex kKeyValue(R"(\b(type|program|shader|pname) = (\w+))");
    std::string described = name;
    const std::string beforeStrings = arguments.substr(0, arguments.find('"'));
    for (std::sregex_iterator it(beforeStrings.begin(), beforeStrings.end(), kKeyValue), end;
         it != end; ++it) {
        described += " " + (*it)[1].str() + "=" + (*it)[2].str();
    }
    if (!result.empty()) described += " -> " + result;
    return described;
}

// The calls after the marker, up to and including the first glUseProgram.
std::vector<std::string> callsAfterMarker(const std::string& dumpPath) {
    static const std::regex kCall(R"(^\d+ (\w+)\((.*)\)(?: = (\S+))?$)");
    std::ifstream dump(dumpPath);
    std::vector<std::string> calls;
    bool marked = false;
    for (std::string line; std::getline(dump, line);) {
        if (!marked) {
            marked = line.find(kMarker) != std::string::npos;
            continue;
        }
        std::smatch call;
        if (!std::regex_match(line, call, kCall)) continue;
        calls.push_back(describe(call[1], call[2], call[3]));
        if (call[1] == "glUseProgram") break;
    }
    return calls;
}

// One program: each shader created, sourced, compiled and checked, vertex
// first; then the program created, both attached, linked and checked.
std::vector<std::string> buildCalls(int vertex, int fragment, int program) {
    const std::string v = std::to_string(vertex);
    const std::string f = std::to_string(fragment);
    const std::string p = std::to_string(program);
    return {
        "glCreateShader type=GL_VERTEX_SHADER -> " + v,
        "glShaderSource shader=" + v,
        "glCompileShader shader=" + v,
        "glGetShaderiv shader=" + v + " pname=GL_COMPILE_STATUS",
        "glCreateShader type=GL_FRAGMENT_SHADER -> " + f,
        "glShaderSource shader=" + f,
        "glCompileShader shader=" + f,
        "glGetShaderiv shader=" + f + " pname=GL_COMPILE_STATUS",
        "glCreateProgram -> " + p,
        "glAttachShader program=" + p + " shader=" + v,
        "glAttachShader program=" + p + " shader=" + f,
        "glLinkProgram program=" + p,
        "glGetProgramiv program=" + p + " pname=GL_LINK_STATUS",
    };
}

// The fixed-pipeline entry comes first and makes no call: loading starts
// directly with the toon program, then the edge program, then program 0.
TEST(ShaderCallOrder, TraceOfLoadingShowsEachStepInOrder) {
    ASSERT_EQ(run("command -v apitrace > /dev/null"), 0) << "apitrace is not installed";
    ScratchFolder folder;
    const std::string trace = (folder.path() / "loading.trace").string();
    const std::string dump = (folder.path() / "loading.txt").string();
    ASSERT_EQ(run("apitrace trace -o '" + trace + "' /proc/" +
                  std::to_string(getpid()) + "/exe --gtest_filter=" + kTracedCase +
                  " > /dev/null 2>&1"),
              0);
    ASSERT_EQ(run("apitrace dump --color=never --multiline=no '" + trace + "' > '" + dump + "'"),
              0);

    std::vector<std::string> expected = buildCalls(1, 2, 3);
    const std::vector<std::string> edge = buildCalls(4, 5, 6);
    expected.insert(expected.end(), edge.begin(), edge.end());
    expected.push_back("glUseProgram program=0");
    EXPECT_EQ(callsAfterMarker(dump), expected);
}

}  // namespace
