#include "tools/shader_report/driver_log.h"

#include <algorithm>
#include <regex>
#include <sstream>

namespace {

int number(const std::ssub_match& match) { return match.matched ? std::stoi(match.str()) : 0; }

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Mesa writes "preprocessor error" for faults its preprocessor finds; they
// are errors like any other.
LogMessage withSeverity(int line, int column, const std::string& rest) {
    static const std::regex kSeverity(R"(^(?:preprocessor )?(error|warning)\s*:\s*(.*)$)",
                                      std::regex::icase);
    std::smatch match;
    if (std::regex_match(rest, match, kSeverity)) {
        return {line, column, lowered(match[1]), match[2]};
    }
    return {line, column, "error", rest};
}

bool parseLine(const std::string& line, LogMessage& message) {
    static const std::regex kMesa(R"(^\d+:(\d+)\((\d+)\)\s*:\s*(.*)$)");
    static const std::regex kNvidia(R"(^\d+\((\d+)\)\s*:\s*(error|warning)\s*(C\d+\s*:.*)$)",
                                    std::regex::icase);
    static const std::regex kUpperCase(R"(^(ERROR|WARNING)\s*:\s*\d+:(\d+):\s*(.*)$)");
    static const std::regex kBare(R"(^(error|warning)\s*:\s*(.*)$)", std::regex::icase);
    std::smatch match;
    if (std::regex_match(line, match, kMesa)) {
        message = withSeverity(number(match[1]), number(match[2]), match[3]);
    } else if (std::regex_match(line, match, kNvidia)) {
        message = {number(match[1]), 0, lowered(match[2]), match[3]};
    } else if (std::regex_match(line, match, kUpperCase)) {
        message = {number(match[2]), 0, lowered(match[1]), match[3]};
    } else if (std::regex_match(line, match, kBare)) {
        message = {0, 0, lowered(match[1]), match[2]};
    } else {
        return false;
    }
    return true;
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
