// What the checks read out of a GLSL source without compiling it: its
// tokens, the #version line, and where a global name is declared.
#pragma once

#include <string>
#include <vector>

struct Token {
    std::string text;
    int line;
    int column;
};

// Identifiers and single punctuation characters, with comments and
// preprocessor lines left out, each with its 1-based line and column.
std::vector<Token> tokenize(const std::string& source);

// The #version line: without one a desktop driver reads GLSL 1.10.
struct GlslVersion {
    int line = 0;         // 0 when the source has no #version
    int number = 110;
    std::string profile;  // "es", "core", "compatibility", or empty

    bool es() const { return number == 100 || profile == "es"; }
    // "GLSL 1.10", "GLSL ES 3.00": the name of the language the file is in.
    std::string name() const;
};
GlslVersion readVersion(const std::string& source);

// The place of `name` in a global declaration that one of `qualifiers` opens,
// such as "uniform mat4 a, b;". Function parameters ("in vec3 x") are not
// global, so they are never taken for one.
bool findDeclaration(const std::string& source, const std::vector<std::string>& qualifiers,
                     const std::string& name, int& line, int& column);
