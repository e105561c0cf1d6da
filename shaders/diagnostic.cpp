#include "shaders/diagnostic.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Each piece goes out in its own write and the stream is flushed at once: a
// program that reads our standard error must see every report even if the
// viewer is killed right after writing it.
void writePiece(const std::string& piece) {
    std::fwrite(piece.data(), 1, piece.size(), stderr);
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
    std::fflush(stderr);
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
