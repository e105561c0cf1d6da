#include "shaders/diagnostic.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
// verrine.exe is a GUI program: it has a standard error only when whoever
// started it handed one over (a pipe, or cmd's "2> file"). Started from a
// console without one, it writes to that console; started from Explorer it
// has none, and the debugger's output (OutputDebugStringA: the Output
// window of Visual Studio, DebugView) is the only place the texts show.
// The console is opened by name: the C runtime's freopen of "CONOUT$" can
// fail where CreateFile succeeds (under Wine, for one).
FILE* openDiagnosticStream() {
    HANDLE handedOver = GetStdHandle(STD_ERROR_HANDLE);
    if (handedOver && handedOver != INVALID_HANDLE_VALUE && GetFileType(handedOver) != FILE_TYPE_UNKNOWN) return stderr;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return stderr;
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return stderr;
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(console), _O_TEXT);
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
