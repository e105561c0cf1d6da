// What verrine-check says beyond the driver's log, pair by pair: the
// reference compiler's second opinion, the GLSL a pair was written for, and
// the traps it fell into.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/check_process.h"
#include "tests/tools/foreign_pairs.h"

namespace {

// A pair written for a test, and what its check must say: the status, and
// located messages (PATH:LINE:COLUMN: ..., PATH relative to the pair's
// folder), each expected once.
struct PairRow {
    const char* what;
    std::string vertex;
    std::string fragment;
    int status;
    std::vector<std::string> messages;
    std::vector<std::string> options = {};
};

// The message with the folder put before each line that starts with a path.
std::string inFolder(const ScratchFolder& folder, const std::string& message) {
    std::string placed;
    for (size_t start = 0; start < message.size();) {
        const size_t end = std::min(message.find('\n', start), message.size() - 1) + 1;
        const std::string line = message.substr(start, end - start);
        placed += line.rfind("pair.", 0) == 0 ? folder / line : line;
        start = end;
    }
    return placed;
}

ProcessResult expectPairRow(const ScratchFolder& folder, const PairRow& row) {
    const ProcessResult result = checkPair(folder, row.vertex, row.fragment, row.options);
    EXPECT_EQ(result.status, row.status) << row.what << '\n' << result.out;
    for (const std::string& message : row.messages) {
        EXPECT_EQ(countOccurrences(result.out, inFolder(folder, message)), 1) << row.what << '\n' << message << '\n'
                                                                              << result.out;
    }
    return result;
}

// The reference compiler's second opinion speaks only where the driver lets
// a fault pass, and then in plain words. One row per departure of glslang's
// from desktop GLSL as the driver reads it, per kept catch, and per case of
// agreement. No message expected: no word of the reference compiler.
TEST(VerrineCheck, SecondOpinionWarnsOnlyWhereTheDriverLetsAFaultPass) {
    const std::string longName(1100, 'n');
    const std::vector<PairRow> rows = {
        {"float suffix in 1.10", kSoundVertex, "void main()\n{\n    gl_FragColor = vec4(1.0f);\n}\n", 0,
         {"pair.frag:3:25: warning: GLSL 1.10 has no float suffixes; other drivers reject `1.0f`, as the "
          "reference compiler (glslang) does\n    gl_FragColor = vec4(1.0f);\n                        ^\n"}},
        {"float suffix, no second opinion", kSoundVertex, "void main() { gl_FragColor = vec4(1.0f); }\n", 0, {},
         {"--no-reference"}},
        // The driver rejects the recursion that glslang lets pass until link
        // time: the driver's error stands alone.
        {"driver rejects, glslang accepts", kSoundVertex,
         "#version 110\nfloat f(float x) { return x > 0.0 ? f(x - 1.0) : 0.0; }\n"
         "void main() { gl_FragColor = vec4(f(1.0)); }\n", 1, {}},
        {"both reject", kSoundVertex, "void main() { gl_FragColor = ; }\n", 1, {}},
        // Without #version both read desktop GLSL 1.10 with its built-in state.
        {"both accept", "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n",
         "void main() { gl_FragColor = gl_Color; }\n", 0, {}},
        {"rectangle texture without #extension", kSoundVertex,
         "uniform sampler2DRect r;\nvoid main() { gl_FragColor = texture2DRect(r, vec2(1.0)); }\n", 0, {}},
        {"__VERSION__ is defined", kSoundVertex,
         "#version 110\n#ifndef __VERSION__\n#error no version\n#endif\n"
         "void main() { gl_FragColor = vec4(1.0); }\n", 0, {}},
        {"name over 1,024 characters", kSoundVertex,
         "void main() { float " + longName + " = 1.0; gl_FragColor = vec4(" + longName + "); }\n", 0, {}},
        {"extension glslang does not know", "#version 110\n#extension GL_ARB_draw_buffers : require\n"
         "void main() { gl_Position = ftransform(); }\n", kSoundFragment, 0, {}},
        {"malformed pragma, ignored", kSoundVertex,
         "#pragma optimize(on\nvoid main() { gl_FragColor = vec4(1.0); }\n", 0, {}},
        // The driver compiles it and then fails to link the call: its own
        // fault, and the link error says so.
        {"1.10 names of functions and variables apart", kSoundVertex,
         "#version 110\nfloat foo() { return 1.0; }\nconst float foo = 2.0;\n"
         "void main() { gl_FragColor = vec4(foo - foo()); }\n", 1, {}},
    };
    ScratchFolder folder;
    for (const PairRow& row : rows) {
        const ProcessResult result = expectPairRow(folder, row);
        EXPECT_EQ(countOccurrences(result.out, "glslang"), row.messages.size()) << row.what << '\n' << result.out;
        EXPECT_FALSE(contains(result.out, "may accept")) << row.what << '\n' << result.out;
    }
}

// Shaders written for another GLSL, and the traps of GLSL 1.10: the cause is
// named at the line that shows it, right after the error it explains.
TEST(VerrineCheck, NamesTheGlslAPairWasWrittenForAndItsTraps) {
    const std::vector<PairRow> rows = {
        {"WebGL", kEsPair.vertex, kEsPair.fragment, 1,
         {"pair.frag:1:1: error: syntax error, unexpected NEW_IDENTIFIER\nprecision mediump float;\n^\n" +
          std::string("pair.frag:1:1: note: `precision` is GLSL ES (WebGL): GLSL 1.10 has no precision statements")}},
        {"core profile", kCorePair.vertex, kCorePair.fragment, 0,
         {"pair.vert:1:1: warning: `#version 330 core` is the core profile, which has none of the built-in state "
          "the viewer feeds"}},
        {"tutorial style", kTutorialPair.vertex, kTutorialPair.fragment, 0,
         {"pair.vert:2:16: warning: attribute 'aPosition' is never fed: the viewer draws with the built-in "
          "attributes only (gl_Vertex, gl_Normal, gl_Color, gl_MultiTexCoord0)\nattribute vec3 aPosition;\n"
          "               ^\n" + std::string("pair.vert:2:16: note: this shader is written for a program that "
                                             "feeds its own attributes and matrices")}},
        // The calls that follow from the first error are notes under it,
        // without the caret again.
        {"int to float in 1.10", kIntToFloatPair.vertex, kIntToFloatPair.fragment, 1,
         {"pair.frag:5:19: error: could not implicitly convert operands to arithmetic operator\n"
          "    float k = pow(1 / uRoughness, 2.0);\n                  ^\n" +
              std::string("pair.frag:5:19: note: GLSL 1.10 converts no int to float by itself: write `1.0` for "
                          "`1`, or start the file with `#version 120`"),
          "pair.frag:5:15: note: float pow(float, float)\n"}},
        {"varying mismatch", kVaryingMismatchPair.vertex, kVaryingMismatchPair.fragment, 1,
         {"pair.frag:1:14: error: fragment shader varying normal not written by vertex shader\n"
          "varying vec3 normal;\n             ^\n"}},
        {"light position as direction", kLightAsDirectionPair.vertex, kLightAsDirectionPair.fragment, 0,
         {"pair.vert:5:16: warning: gl_LightSource[].position is used as a direction, but the viewer's light is "
          "positional"}},
    };
    ScratchFolder folder;
    for (const PairRow& row : rows) {
        const ProcessResult result = expectPairRow(folder, row);
        EXPECT_LE(countOccurrences(result.out, ": error: "), 1) << row.what << '\n' << result.out;
    }
}

}  // namespace
