#include "tools/system/input_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "tools/system/system_error_windows.h"
#include "tools/system/text_encoding.h"

namespace {

// Opens without waiting, shared so that an editor may replace the file
// meanwhile. FILE_FLAG_BACKUP_SEMANTICS lets a folder open too, so that it
// is named as one rather than as a refused access.
HANDLE openShared(const std::string& path, DWORD access) {
    return CreateFileW(wideFromUtf8(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

InputFile::InputFile(const std::string& path) {
    HANDLE handle = openShared(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        problem_ = systemMessage(GetLastError());
        return;
    }
    BY_HANDLE_FILE_INFORMATION information = {};
    // A console, a printer port or a pipe is of another type than a disk file.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        problem_ = "it is not a regular file";
    } else if (!GetFileInformationByHandle(handle, &information)) {
        problem_ = systemMessage(GetLastError());
    } else if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        problem_ = "it is a folder";
    } else {
        descriptor_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
        if (descriptor_ >= 0) return;
        problem_ = std::strerror(errno);
    }
    CloseHandle(handle);
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) _close(descriptor_);
}

long InputFile::read(void* buffer, std::size_t size) {
    if (descriptor_ < 0) return -1;
    const unsigned int chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(size);
    const int count = _read(descriptor_, buffer, chunk);
    if (count >= 0) return count;
    problem_ = std::strerror(errno);
    return -1;
}

// One file, whatever the names: the same volume and the same file index.
bool sameFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a = {};
    BY_HANDLE_FILE_INFORMATION b = {};
    HANDLE handles[2] = {openShared(first, 0), openShared(second, 0)};
    const bool known = handles[0] != INVALID_HANDLE_VALUE && handles[1] != INVALID_HANDLE_VALUE &&
                       GetFileInformationByHandle(handles[0], &a) && GetFileInformationByHandle(handles[1], &b);
    for (HANDLE handle : handles) {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    return known && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}
