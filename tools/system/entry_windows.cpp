// Windows hands a console program its command line in the ANSI code page,
// which cannot hold every letter of a path (a Cyrillic name on a Western
// system); the wide command line holds them all. Linked with -municode.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/system/entry.h"
#include "tools/system/text_encoding.h"

namespace {

UINT consoleOutputCodePage = 0;

void restoreConsoleOutputCodePage() { SetConsoleOutputCP(consoleOutputCodePage); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Paths and messages are written as UTF-8; the console shows them as
    // such for this run and gets its own code page back afterwards.
    consoleOutputCodePage = GetConsoleOutputCP();
    if (consoleOutputCodePage != 0 && SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreConsoleOutputCodePage);

    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(utf8FromWide(argv[i]));
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return toolMain(argc, pointers.data());
}
