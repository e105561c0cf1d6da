// One diagnostic in the form compilers print and editors read:
//   PATH:LINE:COLUMN: error: message
// followed by the offending source line and a caret under the column.
#pragma once

#include <ostream>
#include <string>

struct SourceDiagnostic {
    std::string where;     // the file's path as shown, or a program's name
    int line = 0;          // 1-based; 0 for none
    int column = 0;        // 1-based; 0 for none
    std::string severity;  // "error", "warning" or "note"; empty for a driver's line kept verbatim
    std::string message;
    bool continues = false;  // a note that goes on with the diagnostic before it, such as one
                             // of a list of candidates: shown without the source line again
};

// `source` is the text the line and column point into. A line the source does
// not have is named without a column and shown without a caret; a line named
// without a column gets the caret under its first character that is not
// blank, so that every located diagnostic has the full form. A diagnostic
// that continues the one before it is one line.
void printDiagnostic(std::ostream& out, const SourceDiagnostic& diagnostic, const std::string& source);

// The text of a 1-based line of `source` without its line end; false when
// the source has no such line.
bool findSourceLine(const std::string& source, int number, std::string& text);
