// A GUI program has no standard streams of its own, and the C runtime hands
// WinMain its arguments in the ANSI code page only.
#include <io.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <iostream>
#include <streambuf>
#include <utility>

#include "shaders/diagnostic_console.h"
#include "tools/system/entry.h"
#include "tools/system/text_encoding.h"

namespace {

// Writes straight to a C runtime descriptor, each piece at once.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int descriptor) : descriptor_(descriptor) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return _write(descriptor_, &byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize size) override {
        const int written = _write(descriptor_, text, static_cast<unsigned>(size));
        return written < 0 ? 0 : written;
    }

private:
    int descriptor_;
};

// Standard output and error that were not handed over go to the console
// the program was started from. The C runtime's own streams cannot be
// pointed there in a GUI program (they have no descriptor, and freopen
// fails under Wine), so std::cout and std::cerr, which carry every text of
// the program, write to it themselves; the system's handle goes there too,
// for the crash line.
void writeToStartingConsole() {
    // Asked of both first: attaching to the console may set the handles.
    const bool given[] = {standardHandleGiven(STD_OUTPUT_HANDLE), standardHandleGiven(STD_ERROR_HANDLE)};
    const std::pair<DWORD, std::ostream*> streams[] = {{STD_OUTPUT_HANDLE, &std::cout}, {STD_ERROR_HANDLE, &std::cerr}};
    for (int i = 0; i < 2; ++i) {
        const auto& [which, stream] = streams[i];
        if (given[i]) continue;
        const int console = parentConsoleDescriptor();
        if (console == -1) return;
        SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(console)));
        stream->rdbuf(new DescriptorBuffer(console));  // for the whole run
    }
}

}  // namespace

char** windowProgramArguments(int& argc) {
    writeToStartingConsole();
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!wide) argc = 0;
    char** arguments = startInUtf8(argc, wide);
    LocalFree(wide);
    return arguments;
}
