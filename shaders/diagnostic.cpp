#include "shaders/diagnostic.h"

#include <cstdio>

#ifdef _WIN32
#include <stdio.h>
#include <windows.h>

#include "shaders/diagnostic_console.h"
#endif

namespace {

#ifdef _WIN32
// verrine.exe is a GUI program: without a standard error handed over, it
// writes to the console it was started from; started from Explorer it has
// none, and the debugger's output (OutputDebugStringA: the Output window of
// Visual Studio, DebugView) is the only place the texts show.
FILE* openDiagnosticStream() {
    if (standardHandleGiven(STD_ERROR_HANDLE)) return stderr;
    const int descriptor = parentConsoleDescriptor();
    FILE* stream = descriptor == -1 ? nullptr : _fdopen(descriptor, "w");
    return stream ? stream : stderr;
}
#endif

FILE* diagnosticStream() {
#ifdef _WIN32
    static FILE* const stream = openDiagnosticStream();
    return stream;
#else
    return stderr;
#endif
}

// Each piece goes out in its own write and the stream is flushed at once: a
// program that reads our standard error must see every report even if the
// viewer is killed right after writing it.
void writePiece(const std::string& piece) {
    std::fwrite(piece.data(), 1, piece.size(), diagnosticStream());
#ifdef _WIN32
    OutputDebugStringA(piece.c_str());
#endif
}

bool endsWithLineFeed(const std::string& text) {
    return !text.empty() && text.back() == '\n';
}

void writeToStandardError(const std::string& caption, const std::string& text) {
    if (!caption.empty()) writePiece("--- " + caption + " ---\n");
    writePiece(text);
    if (!endsWithLineFeed(text)) writePiece("\n");
    std::fflush(diagnosticStream());
}

DiagnosticSink currentSink = writeToStandardError;

}  // namespace

void writeDiagnostic(std::string caption, std::string text) {
    currentSink(caption, text);
}

DiagnosticSink setDiagnosticSink(DiagnosticSink sink) {
    DiagnosticSink previous = currentSink;
    currentSink = sink ? sink : writeToStandardError;
    return previous;
}
