#include "tools/shader_report/source_diagnostic.h"

#include <sstream>

namespace {

int firstNonBlankColumn(const std::string& line) {
    const size_t at = line.find_first_not_of(" \t");
    return at == std::string::npos ? 1 : static_cast<int>(at) + 1;
}

// Tabs before the column stay tabs, so the caret lands under the same
// character whatever the terminal's tab width.
std::string caretLine(const std::string& line, int column) {
    std::string caret;
    for (int i = 0; i + 1 < column && i < static_cast<int>(line.size()); ++i) {
        caret += line[i] == '\t' ? '\t' : ' ';
    }
    return caret + '^';
}

}  // namespace

bool findSourceLine(const std::string& source, int number, std::string& text) {
    std::istringstream lines(source);
    for (int current = 1; std::getline(lines, text); ++current) {
        if (current != number) continue;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        return true;
    }
    return false;
}

void printDiagnostic(std::ostream& out, const SourceDiagnostic& diagnostic, const std::string& source) {
    std::string line;
    const bool located = diagnostic.line > 0 && findSourceLine(source, diagnostic.line, line);
    const bool quoted = located && !diagnostic.continues;
    int column = diagnostic.column;
    if (located && column <= 0) column = firstNonBlankColumn(line);

    out << diagnostic.where << ':';
    if (diagnostic.line > 0) out << diagnostic.line << ':';
    if (located) out << column << ':';
    out << ' ';
    if (!diagnostic.severity.empty()) out << diagnostic.severity << ": ";
    out << diagnostic.message << '\n';
    if (quoted) out << line << '\n' << caretLine(line, column) << '\n';
}
