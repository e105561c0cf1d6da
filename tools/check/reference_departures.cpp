#include "tools/check/reference_departures.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "tools/shader_report/source_diagnostic.h"

namespace {

bool has(const std::string& text, const char* piece) { return text.find(piece) != std::string::npos; }

bool isNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The directive a line holds ("extension" for "  # extension X : require"),
// or an empty text.
std::string directive(const std::string& line) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return "";
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos) return "";
    size_t end = at;
    while (end < line.size() && isNameCharacter(line[end])) ++end;
    return line.substr(at, end - at);
}

// glslang refuses names over 1,024 characters ("name too long"); GLSL sets
// no limit and the driver takes them.
bool longName(const LogMessage& error, const std::string& line, const GlslVersion&) {
    if (!has(error.text, "name too long")) return false;
    size_t run = 0;
    for (char c : line) {
        run = isNameCharacter(c) ? run + 1 : 0;
        if (run > 1024) return true;
    }
    return false;
}

// glslang knows fewer extensions than the driver, and not all of them in
// every stage (GL_ARB_draw_buffers it knows in none). A driver that accepts
// "#extension X : require" has X, so any error on the line is glslang's.
bool extensionLine(const LogMessage&, const std::string& line, const GlslVersion&) {
    return directive(line) == "extension";
}

// glslang rejects a malformed "#pragma optimize(" or "#pragma debug(";
// GLSL says a pragma the compiler does not recognise is ignored, and the
// driver ignores it.
bool malformedPragma(const LogMessage& error, const std::string& line, const GlslVersion&) {
    return has(error.text, "pragma syntax is incorrect") && directive(line) == "pragma";
}

// In GLSL 1.10 functions and variables have separate namespaces (shared
// from 1.20 on), so "const float foo" and "foo()" may both be used in one
// expression; glslang applies the 1.20 rule and says "function call,
// method, or subroutine call expected".
bool separateNamespaces(const LogMessage& error, const std::string& line, const GlslVersion& version) {
    if (version.number > 110 || version.es()) return false;
    if (!has(error.text, "function call, method, or subroutine call expected")) return false;
    std::set<std::string> called;
    std::set<std::string> named;
    for (const Token& token : tokenize(line)) {
        if (!std::isalpha(static_cast<unsigned char>(token.text[0])) && token.text[0] != '_') continue;
        const size_t after = line.find_first_not_of(" \t", static_cast<size_t>(token.column - 1) + token.text.size());
        (after != std::string::npos && line[after] == '(' ? called : named).insert(token.text);
    }
    return std::any_of(called.begin(), called.end(), [&](const std::string& name) { return named.count(name) > 0; });
}

using Departure = bool (*)(const LogMessage&, const std::string&, const GlslVersion&);
const Departure kDepartures[] = {longName, extensionLine, malformedPragma, separateNamespaces};

}  // namespace

bool isKnownDeparture(const LogMessage& error, const std::string& source, const GlslVersion& version) {
    std::string line;
    if (!findSourceLine(source, error.line, line)) return false;
    return std::any_of(std::begin(kDepartures), std::end(kDepartures),
                       [&](Departure departure) { return departure(error, line, version); });
}
