#include "tools/shader_report/shader_traps.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "tools/shader_report/glsl_source.h"

namespace {

bool has(const std::string& text, const char* piece) { return text.find(piece) != std::string::npos; }

bool isNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The integer literal at or after the 1-based column (or else anywhere in the
// line), such as the 1 of "1 / r"; empty when there is none.
std::string integerLiteral(const std::string& line, int column) {
    for (size_t from : {static_cast<size_t>(std::max(column, 1) - 1), size_t{0}}) {
        for (size_t at = from; at < line.size(); ++at) {
            const bool inWord = at > 0 && (isNameCharacter(line[at - 1]) || line[at - 1] == '.');
            if (!std::isdigit(static_cast<unsigned char>(line[at])) || inWord) continue;
            size_t end = at;
            while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
            const bool whole = end == line.size() || (!isNameCharacter(line[end]) && line[end] != '.');
            if (whole) return line.substr(at, end - at);
            at = end;
        }
    }
    return "";
}

std::string intToFloat(const std::string& line, int column) {
    const std::string literal = integerLiteral(line, column);
    const std::string example = literal.empty() ? "`1.0` for `1`" : "`" + literal + ".0` for `" + literal + "`";
    return "GLSL 1.10 converts no int to float by itself: write " + example +
           ", or start the file with `#version 120`, which converts";
}

// The note that explains the driver's `error` in a file of `version`, or an
// empty text. `kind` names the trap, so that each is told once per file.
std::string trapNote(const SourceDiagnostic& error, const std::string& source, const GlslVersion& version,
                     std::string& kind) {
    const std::string& text = error.message;
    const bool desktop = !version.es();
    std::string line;
    findSourceLine(source, error.line, line);
    kind = "int";
    if (desktop && version.number <= 110 &&
        (has(text, "could not implicitly convert") ||
         has(text, "of type int cannot be assigned to variable of type float"))) {
        return intToFloat(line, error.column);
    }
    kind = "texture";
    if (has(text, "no function with name 'texture'") && version.number < 130) {
        return "texture() is GLSL 1.30 and later; " + version.name() + " calls it texture2D() for a sampler2D";
    }
    if (has(text, "no function with name 'texture2D'")) {
        return "texture2D() is gone from " + version.name() + ": call texture()";
    }
    kind = "inout";
    if (has(text, "qualifier in declaration of") && has(text, "only valid for function parameters")) {
        return version.name() + " has no global in and out: a vertex shader's inputs are `attribute`, what it "
               "passes on is `varying` in both stages, and a fragment shader writes gl_FragColor (or start both "
               "files with `#version 130`)";
    }
    kind = "fragcolor";
    if (has(text, "`gl_FragColor' undeclared")) {
        return version.name() + " has no gl_FragColor: declare `out vec4 fragColor;` and write that, or write the "
               "shader in GLSL 1.20";
    }
    return "";
}

void addTrapNotesTo(FileReport& file) {
    const GlslVersion version = readVersion(file.source);
    std::set<std::string> told;
    for (size_t i = 0; i < file.diagnostics.size(); ++i) {
        const SourceDiagnostic& error = file.diagnostics[i];
        if (error.severity != "error" || error.line == 0) continue;
        std::string kind;
        const std::string note = trapNote(error, file.source, version, kind);
        if (note.empty() || !told.insert(kind).second) continue;
        addAfter(file, i, {file.path, error.line, error.column, "note", note});
    }
}

// The tokens of the statement around tokens[at]: from after the previous
// ';', '{' or '}' to its ';'.
std::vector<Token> statementAround(const std::vector<Token>& tokens, size_t at) {
    size_t first = at;
    auto ends = [&](size_t at) { return tokens[at].text == ";" || tokens[at].text == "{" || tokens[at].text == "}"; };
    while (first > 0 && !ends(first - 1)) --first;
    size_t last = at;
    while (last < tokens.size() && tokens[last].text != ";") ++last;
    return std::vector<Token>(tokens.begin() + static_cast<std::ptrdiff_t>(first),
                              tokens.begin() + static_cast<std::ptrdiff_t>(last));
}

bool contains(const std::vector<Token>& tokens, const std::string& text) {
    return std::any_of(tokens.begin(), tokens.end(), [&](const Token& token) { return token.text == text; });
}

// Whether the statement's result, a variable assigned to, is used in a
// subtraction in some other statement.
bool subtractedLater(const std::vector<Token>& tokens, const std::vector<Token>& statement) {
    for (size_t i = 1; i < statement.size(); ++i) {
        if (statement[i].text != "=") continue;
        const std::string& name = statement[i - 1].text;
        for (size_t j = 0; j < tokens.size(); ++j) {
            if (tokens[j].text != name || tokens[j].line == statement[i - 1].line) continue;
            if (contains(statementAround(tokens, j), "-")) return true;
        }
    }
    return false;
}

// gl_LightSource[i].position taken as a direction: normalised, or its .xyz
// used, in a statement that subtracts nothing from it. A shader that reads
// position.w tells positional and directional lights apart itself.
void warnLightAsDirection(FileReport& file) {
    const std::vector<Token> tokens = tokenize(file.source);
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        const bool readsW = tokens[i].text == "position" && tokens[i + 1].text == "." && i + 2 < tokens.size() &&
                            tokens[i + 2].text == "w";
        if (readsW) return;
    }
    for (size_t i = 0; i + 5 < tokens.size(); ++i) {
        if (tokens[i].text != "gl_LightSource" || tokens[i + 1].text != "[") continue;
        size_t at = i + 2;
        while (at < tokens.size() && tokens[at].text != "]") ++at;
        if (at + 2 >= tokens.size() || tokens[at + 1].text != "." || tokens[at + 2].text != "position") continue;
        const std::vector<Token> statement = statementAround(tokens, i);
        const bool asDirection = contains(statement, "normalize") ||
                                 (at + 4 < tokens.size() && tokens[at + 3].text == "." && tokens[at + 4].text == "xyz");
        if (!asDirection || contains(statement, "-") || subtractedLater(tokens, statement)) continue;
        addExplanation(file, {file.path, tokens[i].line, tokens[i].column, "warning",
                              "gl_LightSource[].position is used as a direction, but the viewer's light is "
                              "positional, a point inside the scene: the light vector is "
                              "normalize(gl_LightSource[0].position.xyz - eyePosition), both in eye space; "
                              "as written, the objects come out dark"});
        return;
    }
}

}  // namespace

void addTrapNotes(ProgramReport& program) {
    for (FileReport* file : {&program.vertex, &program.fragment}) {
        if (!file->read || file->byteOrderMark) continue;
        addTrapNotesTo(*file);
        if (file->compiled) warnLightAsDirection(*file);
    }
}
