#include "tools/shader_report/glsl_source.h"

#include <algorithm>
#include <cctype>
#include <sstream>

std::vector<Token> tokenize(const std::string& source) {
    std::vector<Token> tokens;
    int line = 1;
    size_t lineStart = 0;
    bool lineHasToken = false;
    for (size_t i = 0; i < source.size();) {
        const char c = source[i];
        if (c == '\n') {
            ++line;
            lineStart = ++i;
            lineHasToken = false;
        } else if (source.compare(i, 2, "//") == 0 || (c == '#' && !lineHasToken)) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
        } else if (source.compare(i, 2, "/*") == 0) {
            const size_t end = source.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? source.size() : end + 2;
            for (; i < stop; ++i) {
                if (source[i] == '\n') {
                    ++line;
                    lineStart = i + 1;
                }
            }
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else {
            size_t end = i + 1;
            if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                while (end < source.size() &&
                       (std::isalnum(static_cast<unsigned char>(source[end])) || source[end] == '_')) {
                    ++end;
                }
            }
            tokens.push_back({source.substr(i, end - i), line, static_cast<int>(i - lineStart) + 1});
            lineHasToken = true;
            i = end;
        }
    }
    return tokens;
}

bool findDeclaration(const std::string& source, const std::vector<std::string>& qualifiers,
                     const std::string& name, int& line, int& column) {
    const std::vector<Token> tokens = tokenize(source);
    int depth = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string& text = tokens[i].text;
        if (text == "{" || text == "(") ++depth;
        if (text == "}" || text == ")") --depth;
        if (depth != 0 || std::find(qualifiers.begin(), qualifiers.end(), text) == qualifiers.end()) continue;
        for (size_t j = i + 1; j < tokens.size() && tokens[j].text != ";"; ++j) {
            if (tokens[j].text != name) continue;
            line = tokens[j].line;
            column = tokens[j].column;
            return true;
        }
    }
    return false;
}

GlslVersion readVersion(const std::string& source) {
    GlslVersion version;
    std::istringstream lines(source);
    std::string text;
    for (int number = 1; std::getline(lines, text); ++number) {
        std::istringstream words(text);
        std::string word;
        if (!(words >> word) || word[0] != '#') continue;
        // "#version" or "# version"
        word.erase(0, 1);
        if (word.empty()) words >> word;
        if (word != "version") continue;
        int value = 0;
        if (!(words >> value)) return version;
        version.line = number;
        version.number = value;
        words >> version.profile;
        return version;
    }
    return version;
}

std::string GlslVersion::name() const {
    const std::string digits = std::to_string(number);
    const std::string dotted = digits.size() == 3 ? digits.substr(0, 1) + "." + digits.substr(1) : digits;
    return std::string("GLSL ") + (es() ? "ES " : "") + dotted;
}
