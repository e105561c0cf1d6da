#include "tools/check/second_opinion.h"

#include <cctype>

#include "tools/shader_report/glsl_source.h"
#include "tools/shader_report/source_diagnostic.h"

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool isNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The first floating-point literal with an f or F suffix in `line`, such as
// "1.0f" or "2e3F"; its 0-based start in `at`.
bool findSuffixedLiteral(const std::string& line, std::string& literal, size_t& at) {
    for (size_t start = 0; start < line.size(); ++start) {
        const bool number = isDigit(line[start]) ||
                            (line[start] == '.' && start + 1 < line.size() && isDigit(line[start + 1]));
        if (!number || (start > 0 && isNameCharacter(line[start - 1]))) continue;
        size_t end = start;
        while (end < line.size() && (isDigit(line[end]) || line[end] == '.' ||
                                     ((line[end] == 'e' || line[end] == 'E') && end + 1 < line.size()))) {
            if ((line[end] == 'e' || line[end] == 'E') && (line[end + 1] == '+' || line[end + 1] == '-')) ++end;
            ++end;
        }
        const bool suffixed = end < line.size() && (line[end] == 'f' || line[end] == 'F') &&
                              (end + 1 == line.size() || !isNameCharacter(line[end + 1]));
        if (suffixed) {
            literal = line.substr(start, end + 1 - start);
            at = start;
            return true;
        }
        start = end;
    }
    return false;
}

// The rule of the language that glslang's `error` rests on, in plain words,
// pointed at the construct where it can be found; empty when glslang names
// no rule.
std::string plainRule(const LogMessage& error, const std::string& source, SourceDiagnostic& place) {
    const GlslVersion version = readVersion(source);
    std::string line;
    findSourceLine(source, error.line, line);
    std::string literal;
    size_t at = 0;
    if (error.text.find("'floating-point suffix'") == 0 && findSuffixedLiteral(line, literal, at)) {
        place.column = static_cast<int>(at) + 1;
        return version.name() + " has no float suffixes; other drivers reject `" + literal + "`";
    }
    const std::string unsupported = "' : not supported for this version";
    const size_t end = error.text.find(unsupported);
    if (error.text[0] == '\'' && end != std::string::npos && end > 1) {
        return version.name() + " does not have " + error.text.substr(1, end - 1) + "; other drivers reject it";
    }
    return "";
}

}  // namespace

void addSecondOpinion(const ReferenceCompiler& reference, const std::string& driver, FileReport& file,
                      bool isFragment) {
    if (!file.read || file.byteOrderMark || !file.compiled) return;
    for (const LogMessage& error : reference.errors(file.source, isFragment)) {
        SourceDiagnostic warning{file.path, error.line, error.column, "warning", ""};
        const std::string rule = plainRule(error, file.source, warning);
        warning.message = rule.empty() ? driver + " accepts this, " + ReferenceCompiler::kName +
                                             " rejects it: " + error.text
                                       : rule + ", as " + ReferenceCompiler::kName + " does";
        file.diagnostics.push_back(warning);
    }
}
