// The messages of a GLSL compiler's or linker's info log, with the source
// locations of the common drivers read out of them.
#pragma once

#include <string>
#include <vector>

struct LogMessage {
    int line = 0;          // 1-based; 0 when the message names no line
    int column = 0;        // 1-based; 0 when the message names no column
    std::string severity;  // "error" or "warning"; empty for a line kept verbatim
    std::string text;      // the message after its location and severity
};

// Reads each line of the log. Locations understood:
//   Mesa               0:LINE(COLUMN): error: message
//   NVIDIA             0(LINE) : error C0000: message
//   AMD, Intel on Windows, and the reference compiler
//                      ERROR: 0:LINE: message
// and a bare "error: message" or "warning: message" (a link log). Any other
// line is kept verbatim. A message the log repeats is kept once, and the
// stray '.' that Mesa puts before a repeated link message is dropped.
std::vector<LogMessage> parseDriverLog(const std::string& log);

// Mesa counts columns in its preprocessor's output, in which each run of
// blanks and comments, leading indentation included, has become one space.
// Returns the 1-based column in the line as written that such a column
// points at.
int sourceColumn(const std::string& line, int driverColumn);
