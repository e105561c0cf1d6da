#include "tools/shader_report/dialect.h"

#include "tools/shader_report/glsl_source.h"

namespace {

const char kBuiltInState[] = "the built-in state the viewer feeds (gl_Vertex, gl_ModelViewMatrix, gl_LightSource...)";
const char kReadBuiltIns[] = "read the built-ins instead of your own attributes and matrices";

std::string versionLine(const std::string& source, int line) {
    std::string text;
    findSourceLine(source, line, text);
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// The first precision statement or qualifier at or after `fromLine`, or else
// the first of all; false when there is none.
bool findPrecision(const std::string& source, int fromLine, Token& found) {
    bool any = false;
    for (const Token& token : tokenize(source)) {
        const std::string& text = token.text;
        if (text != "precision" && text != "lowp" && text != "mediump" && text != "highp") continue;
        if (!any) found = token;
        any = true;
        if (token.line >= fromLine) {
            found = token;
            return true;
        }
    }
    return any;
}

int firstErrorLine(const FileReport& file) {
    for (const SourceDiagnostic& diagnostic : file.diagnostics) {
        if (diagnostic.severity == "error") return diagnostic.line;
    }
    return 0;
}

// The dialect a file shows, in plain words at its place; false for desktop
// GLSL that keeps the built-in state.
bool nameDialect(const FileReport& file, SourceDiagnostic& named) {
    const GlslVersion version = readVersion(file.source);
    named.where = file.path;
    named.line = version.line;
    named.column = 1;
    const std::string written = "`" + versionLine(file.source, version.line) + "`";
    // A file that compiled reads its own inputs; one that did not, the
    // built-ins that this GLSL lacks.
    const std::string readBuiltIns = file.compiled ? ", and " + std::string(kReadBuiltIns) : "";
    if (version.es()) {
        named.message = written + " is " + version.name() +
                        ", the language of WebGL and OpenGL ES, which has none of " +
                        kBuiltInState + ": write `#version 120`, delete the precision statements" + readBuiltIns;
        return true;
    }
    if (version.number >= 150 && version.profile != "compatibility") {
        named.message = written + " is the core profile, which has none of " + std::string(kBuiltInState) +
                        ": write `#version " + std::to_string(version.number) + " compatibility`, which keeps it" +
                        readBuiltIns;
        return true;
    }
    Token precision;
    if (version.number >= 130 || !findPrecision(file.source, firstErrorLine(file), precision)) return false;
    named.line = precision.line;
    named.column = precision.column;
    named.message = "`" + precision.text + "` is GLSL ES (WebGL): " + version.name() +
                    " has no precision statements or qualifiers; delete every `precision` line and every "
                    "lowp, mediump and highp";
    return true;
}

// A file that compiled warns only in the vertex stage: a fragment stage in
// such GLSL may still draw, a vertex stage cannot place the viewer's objects.
bool addDialect(FileReport& file, bool vertexStage) {
    if (!file.read || file.byteOrderMark) return false;
    SourceDiagnostic named;
    if (!nameDialect(file, named)) return false;
    if (file.compiled && !vertexStage) return false;
    named.severity = file.compiled ? "warning" : "note";
    addExplanation(file, named);
    return true;
}

bool isUnfedWarning(const SourceDiagnostic& diagnostic) {
    return diagnostic.severity == "warning" && (diagnostic.message.find("' is never fed") != std::string::npos ||
                                                diagnostic.message.find("' is never set, so") != std::string::npos);
}

// After the first warning about an input never fed.
bool addTutorialStyle(FileReport& file) {
    for (size_t i = 0; i < file.diagnostics.size(); ++i) {
        if (!isUnfedWarning(file.diagnostics[i])) continue;
        SourceDiagnostic note = file.diagnostics[i];
        note.severity = "note";
        note.message =
            "this shader is written for a program that feeds its own attributes and matrices (the WebGL and "
            "tutorial style); the viewer feeds only OpenGL's built-in state: use gl_Vertex, gl_Normal and "
            "gl_MultiTexCoord0 for the attributes, gl_ModelViewProjectionMatrix, gl_ModelViewMatrix and "
            "gl_NormalMatrix for the matrices";
        addAfter(file, i, note);
        return true;
    }
    return false;
}

}  // namespace

void addDialectNotes(ProgramReport& program) {
    if (addDialect(program.vertex, true) || addDialect(program.fragment, false)) return;
    if (!addTutorialStyle(program.vertex)) addTutorialStyle(program.fragment);
}
