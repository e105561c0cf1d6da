#include "tools/shader_report/driver_log.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <sstream>

namespace {

// Reads one log line from the left. Written by hand rather than with
// std::regex, whose matcher recurses once per character and overflows the
// stack on the very long lines a driver writes about a very long token.
class LineScanner {
public:
    explicit LineScanner(const std::string& line) : line_(line) {}

    // A line or column number; more digits than any source has do not count.
    bool number(int& value) {
        const size_t start = at_;
        long parsed = 0;
        while (at_ < line_.size() && std::isdigit(static_cast<unsigned char>(line_[at_])) && at_ - start < 9) {
            parsed = parsed * 10 + (line_[at_++] - '0');
        }
        value = static_cast<int>(parsed);
        return at_ > start && (at_ == line_.size() || !std::isdigit(static_cast<unsigned char>(line_[at_])));
    }
    bool character(char expected) {
        if (at_ >= line_.size() || line_[at_] != expected) return false;
        ++at_;
        return true;
    }
    // One of the words, in any case; gives it in lower case.
    bool word(std::initializer_list<const char*> words, std::string& found) {
        for (const char* candidate : words) {
            const size_t length = std::strlen(candidate);
            if (line_.size() - at_ < length) continue;
            std::string piece = line_.substr(at_, length);
            std::transform(piece.begin(), piece.end(), piece.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (piece != candidate) continue;
            at_ += length;
            found = piece;
            return true;
        }
        return false;
    }
    void blanks() {
        while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) ++at_;
    }
    // A colon with blanks on either side.
    bool separator() {
        blanks();
        if (!character(':')) return false;
        blanks();
        return true;
    }
    std::string rest() const { return line_.substr(at_); }
    size_t position() const { return at_; }
    void rewind(size_t position) { at_ = position; }

private:
    const std::string& line_;
    size_t at_ = 0;
};

// "error: text" or "warning: text" from where the scanner stands; Mesa writes
// "preprocessor error" for faults its preprocessor finds, errors like any
// other. Anything else is an error's text as it stands.
LogMessage withSeverity(LineScanner& scanner, int line, int column) {
    const size_t start = scanner.position();
    std::string unused;
    scanner.word({"preprocessor "}, unused);
    std::string severity;
    if (scanner.word({"error", "warning"}, severity) && scanner.separator()) {
        return {line, column, severity, scanner.rest()};
    }
    scanner.rewind(start);
    return {line, column, "error", scanner.rest()};
}

bool parseLine(const std::string& line, LogMessage& message) {
    int source = 0;
    int number = 0;
    int column = 0;
    std::string severity;
    // Mesa: 0:LINE(COLUMN): error: text
    LineScanner mesa(line);
    if (mesa.number(source) && mesa.character(':') && mesa.number(number) && mesa.character('(') &&
        mesa.number(column) && mesa.character(')') && mesa.separator()) {
        message = withSeverity(mesa, number, column);
        return true;
    }
    // NVIDIA: 0(LINE) : error C0000: text
    LineScanner nvidia(line);
    if (nvidia.number(source) && nvidia.character('(') && nvidia.number(number) && nvidia.character(')') &&
        nvidia.separator() && nvidia.word({"error", "warning"}, severity)) {
        nvidia.blanks();
        message = {number, 0, severity, nvidia.rest()};
        return true;
    }
    // AMD, Intel on Windows, glslang: ERROR: 0:LINE: text
    LineScanner upperCase(line);
    if (upperCase.word({"error", "warning"}, severity) && upperCase.separator() && upperCase.number(source) &&
        upperCase.character(':') && upperCase.number(number) && upperCase.separator()) {
        message = {number, 0, severity, upperCase.rest()};
        return true;
    }
    // A link log: error: text
    LineScanner bare(line);
    if (bare.word({"error", "warning"}, severity) && bare.separator()) {
        message = {0, 0, severity, bare.rest()};
        return true;
    }
    return false;
}

bool same(const LogMessage& a, const LogMessage& b) {
    return a.line == b.line && a.column == b.column && a.severity == b.severity && a.text == b.text;
}

std::string trimmedRight(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

}  // namespace

int sourceColumn(const std::string& line, int driverColumn) {
    int counted = 0;
    size_t at = 0;
    while (at < line.size()) {
        const size_t runStart = at;
        for (;;) {
            if (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
                ++at;
            } else if (line.compare(at, 2, "/*") == 0) {
                const size_t end = line.find("*/", at + 2);
                at = end == std::string::npos ? line.size() : end + 2;
            } else if (line.compare(at, 2, "//") == 0) {
                at = line.size();
            } else {
                break;
            }
        }
        // A run of blanks counts once and stands for its first character.
        if (at > runStart) {
            if (++counted == driverColumn) return static_cast<int>(runStart) + 1;
            continue;
        }
        if (++counted == driverColumn) return static_cast<int>(at) + 1;
        ++at;
    }
    return static_cast<int>(line.size()) + 1;
}

std::vector<LogMessage> parseDriverLog(const std::string& log) {
    std::vector<LogMessage> messages;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        line = trimmedRight(line);
        // Mesa ends each link message with a line feed and a '.', so the
        // '.' opens the next message or stands alone at the end.
        if (line.empty() || line == ".") continue;
        LogMessage message;
        const bool parsed = (line[0] == '.' && parseLine(line.substr(1), message)) ||
                            parseLine(line, message);
        if (!parsed) message = {0, 0, "", line};
        const bool seen = std::any_of(messages.begin(), messages.end(),
                                      [&](const LogMessage& earlier) { return same(earlier, message); });
        if (!seen) messages.push_back(message);
    }
    return messages;
}
