#include "tools/system/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

InputFile::InputFile(const std::string& path) {
    descriptor_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor_ < 0) {
        problem_ = std::strerror(errno);
        return;
    }
    struct stat status {};
    if (fstat(descriptor_, &status) != 0) {
        problem_ = std::strerror(errno);
    } else if (S_ISDIR(status.st_mode)) {
        problem_ = "it is a folder";
    } else if (!S_ISREG(status.st_mode)) {
        problem_ = "it is not a regular file";
    } else {
        // A regular file never blocks, but reads should wait as usual should
        // it ever matter (a network file system).
        fcntl(descriptor_, F_SETFL, fcntl(descriptor_, F_GETFL) & ~O_NONBLOCK);
        return;
    }
    close(descriptor_);
    descriptor_ = -1;
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) close(descriptor_);
}

long InputFile::read(void* buffer, std::size_t size) {
    if (descriptor_ < 0) return -1;
    for (;;) {
        const ssize_t count = ::read(descriptor_, buffer, size);
        if (count >= 0) return static_cast<long>(count);
        if (errno == EINTR) continue;
        problem_ = std::strerror(errno);
        return -1;
    }
}

bool sameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}
