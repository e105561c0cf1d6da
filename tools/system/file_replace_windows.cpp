#include "tools/system/file_replace.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/system/system_error_windows.h"

namespace {

namespace fs = std::filesystem;

std::string cannotWrite(const std::string& path, const std::string& why) { return "cannot write " + path + ": " + why; }

// The temporary file sits next to the target, named after it and after this
// process, so that two tools writing one picture do not share it.
fs::path temporaryFor(const fs::path& target) {
    fs::path temporary = target;
    temporary.replace_filename(L"." + target.filename().wstring() + L"." + std::to_wstring(GetCurrentProcessId()));
    return temporary;
}

// Fills the new file and closes it; returns why it failed, or an empty text.
std::string writeAndClose(HANDLE handle, const std::string& path,
                          const std::function<std::string(std::FILE*)>& write) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    std::FILE* file = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
    if (file == nullptr) {
        if (descriptor >= 0) _close(descriptor); else CloseHandle(handle);
        return cannotWrite(path, std::strerror(errno));
    }
    std::string failure = write(file);
    if (!failure.empty()) {
        failure = "cannot encode " + path + ": " + failure;
    } else if (std::fflush(file) != 0 || _commit(descriptor) != 0) {
        // A full disk may show only when the last buffered bytes go out.
        failure = cannotWrite(path, std::strerror(errno));
    }
    if (std::fclose(file) != 0 && failure.empty()) failure = cannotWrite(path, std::strerror(errno));
    return failure;
}

}  // namespace

// An existing file is replaced with ReplaceFileW, which keeps its attributes
// and who may read it; a new one is moved into place and gets the folder's.
bool replaceFile(const std::string& path, const std::function<std::string(std::FILE*)>& write,
                 std::string& problem) {
    problem = unwritableOutput(path);
    if (!problem.empty()) return false;
    const fs::path target = fs::u8path(path);
    const fs::path temporary = temporaryFor(target);
    HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = cannotWrite(path, systemMessage(GetLastError()));
        return false;
    }
    problem = writeAndClose(handle, path, write);
    if (problem.empty()) {
        const bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        const BOOL replaced = exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                     : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        if (!replaced) problem = cannotWrite(path, systemMessage(GetLastError()));
    }
    if (problem.empty()) return true;
    DeleteFileW(temporary.c_str());
    return false;
}
