// Any bytes as a driver's info log about any source: the hand-written log
// parser and the source line and caret under each message must never crash,
// and every message printed is one located line, then the source line and
// its caret, or the line alone. The first byte says where the log ends and
// the source begins.

#include <sstream>
#include <string>

#include "tools/shader_report/driver_log.h"
#include "tools/shader_report/source_diagnostic.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = bytes.size() * data[0] / 255;
    const std::string log = bytes.substr(0, split);
    const std::string source = bytes.substr(split);

    for (const LogMessage& message : parseDriverLog(log)) {
        if (message.line < 0 || message.column < 0) __builtin_trap();
        int column = message.column;
        std::string line;
        if (column > 0 && findSourceLine(source, message.line, line)) {
            column = sourceColumn(line, column);
            if (column < 1 || static_cast<std::size_t>(column) > line.size() + 1) __builtin_trap();
        }
        std::ostringstream out;
        printDiagnostic(out, {"shader.frag", message.line, column, message.severity, message.text}, source);
        const std::string printed = out.str();
        if (printed.rfind("shader.frag:", 0) != 0 || printed.back() != '\n') __builtin_trap();
    }
    return 0;
}
