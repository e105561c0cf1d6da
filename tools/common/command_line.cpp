#include "tools/common/command_line.h"

#include <iostream>

bool answeredHelpOrVersion(const ToolDescription& tool, int count, const char* const* arguments,
                           std::ostream& out) {
    for (int i = 0; i < count; ++i) {
        const std::string argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            out << tool.usage << tool.help;
            return true;
        }
        if (argument == "--version") {
            out << versionLine(tool.name) << '\n';
            return true;
        }
    }
    return false;
}

// VERRINE_VERSION is project()'s version; VERRINE_COMMIT, what git described
// when the build was configured, empty outside a checkout.
std::string versionLine(const std::string& name) {
    const std::string commit = VERRINE_COMMIT;
    return name + " " + VERRINE_VERSION + (commit.empty() ? "" : " (commit " + commit + ")");
}

int usageError(const ToolDescription& tool, const std::string& problem) {
    std::cerr << tool.name << ": " << problem << '\n' << tool.usage;
    return 2;
}

std::string ShaderPair::problem() const {
    if (vertexPath.empty() == fragmentPath.empty()) return "";
    return "--vertex and --fragment go together: a program needs both stages";
}

bool takeShaderPairOption(int count, const char* const* arguments, int& i, ShaderPair& pair,
                          std::string& problem) {
    const std::string option = arguments[i];
    if (option != "--vertex" && option != "--fragment") return false;
    if (i + 1 == count || arguments[i + 1][0] == '\0') {
        problem = option + " needs a file";
        return true;
    }
    (option == "--vertex" ? pair.vertexPath : pair.fragmentPath) = arguments[++i];
    return true;
}
