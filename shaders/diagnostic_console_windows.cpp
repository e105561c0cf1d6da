#include "shaders/diagnostic_console.h"

#include <fcntl.h>
#include <io.h>

#include <cstdint>

namespace {

// The console is opened by name: the C runtime's freopen of "CONOUT$" can
// fail where CreateFile succeeds (under Wine, for one).
HANDLE attachParentConsole() {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
    return CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

}  // namespace

bool standardHandleGiven(DWORD which) {
    HANDLE handedOver = GetStdHandle(which);
    return handedOver && handedOver != INVALID_HANDLE_VALUE && GetFileType(handedOver) != FILE_TYPE_UNKNOWN;
}

// Each descriptor owns a duplicate of the one console handle.
int parentConsoleDescriptor() {
    static const HANDLE console = attachParentConsole();
    HANDLE own = INVALID_HANDLE_VALUE;
    if (console == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), console, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return -1;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(own), _O_TEXT);
    if (descriptor == -1) CloseHandle(own);
    return descriptor;
}
