#include "tools/shader_report/link_location.h"

#include "tools/shader_report/glsl_source.h"

namespace {

// The name a message is about: Mesa quotes it as `name' or writes it after
// "varying ".
std::string namedInMessage(const std::string& text) {
    const size_t open = text.find('`');
    if (open != std::string::npos) {
        const size_t close = text.find('\'', open);
        if (close != std::string::npos) return text.substr(open + 1, close - open - 1);
    }
    const std::string varying = "varying ";
    const size_t at = text.find(varying);
    if (at == std::string::npos) return "";
    const size_t start = at + varying.size();
    return text.substr(start, text.find(' ', start) - start);
}

// Where a function of that name is first declared or called.
bool findFunction(const std::string& source, const std::string& name, int& line, int& column) {
    const std::vector<Token> tokens = tokenize(source);
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].text != name || tokens[i + 1].text != "(") continue;
        line = tokens[i].line;
        column = tokens[i].column;
        return true;
    }
    return false;
}

}  // namespace

void locateLinkMessage(const ProgramReport& program, SourceDiagnostic& diagnostic) {
    const std::string& text = diagnostic.message;
    const std::string name = namedInMessage(text);
    if (name.empty() || diagnostic.line > 0) return;
    const bool fragmentFirst = text.rfind("fragment shader", 0) == 0;
    const FileReport* files[] = {fragmentFirst ? &program.fragment : &program.vertex,
                                 fragmentFirst ? &program.vertex : &program.fragment};
    if (name == "main" && text.find("lacks") != std::string::npos) {
        diagnostic.where = files[0]->path;
        return;
    }
    for (const FileReport* file : files) {
        int line = 0;
        int column = 0;
        if (findDeclaration(file->source, {"uniform", "varying", "attribute", "in", "out"}, name, line, column) ||
            findFunction(file->source, name, line, column)) {
            diagnostic.where = file->path;
            diagnostic.line = line;
            diagnostic.column = column;
            return;
        }
    }
}
