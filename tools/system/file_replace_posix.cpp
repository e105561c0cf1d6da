#include "tools/system/file_replace.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Linux gives up on a chain of links after 40 as well (ELOOP).
constexpr int kMaxLinks = 40;

std::string cannotWrite(const std::string& path) {
    return "cannot write " + path + ": " + std::strerror(errno);
}

// The file a chain of symbolic links ends at; it need not exist yet.
bool followLinks(const std::string& path, std::string& target, std::string& problem) {
    fs::path current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            target = current.string();
            return true;
        }
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            problem = "cannot write " + path + ": " + error.message();
            return false;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    problem = "cannot write " + path + ": " + std::strerror(ELOOP);
    return false;
}

// The temporary file sits next to the target: a rename within one folder is
// atomic.
std::string temporaryPattern(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
}

// mkstemp makes the file readable by its owner only. A file replaced keeps
// its owner first (changing the owner may clear set-id bits) and then its
// permissions; a new one is readable by all, as far as the umask allows.
std::string takeOverAttributes(int descriptor, const std::string& target, const std::string& path) {
    struct stat old {};
    if (stat(target.c_str(), &old) != 0) {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(descriptor, 0666 & ~mask);
        return "";
    }
    if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
        fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        return "cannot write " + path + " keeping its owner: " + std::strerror(errno);
    }
    if (fchmod(descriptor, old.st_mode & 07777) != 0) return cannotWrite(path);
    return "";
}

// Fills the open temporary file and closes it; returns why it failed, or an
// empty string.
std::string writeAndClose(std::FILE* file, const std::string& path,
                          const std::function<std::string(std::FILE*)>& write) {
    std::string failure = write(file);
    if (!failure.empty()) {
        failure = "cannot encode " + path + ": " + failure;
    } else if (std::fflush(file) != 0 || fsync(fileno(file)) != 0) {
        // A full disk may show only when the last buffered bytes go out.
        failure = cannotWrite(path);
    }
    if (std::fclose(file) != 0 && failure.empty()) failure = cannotWrite(path);
    return failure;
}

}  // namespace

bool replaceFile(const std::string& path, const std::function<std::string(std::FILE*)>& write,
                 std::string& problem) {
    std::string target;
    if (!followLinks(path, target, problem)) return false;
    problem = unwritableOutput(target);
    if (!problem.empty()) return false;

    std::string temporary = temporaryPattern(target);
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        problem = cannotWrite(path);
        return false;
    }
    problem = takeOverAttributes(descriptor, target, path);
    std::FILE* file = problem.empty() ? fdopen(descriptor, "wb") : nullptr;
    if (file == nullptr) {
        if (problem.empty()) problem = cannotWrite(path);
        close(descriptor);
    } else {
        problem = writeAndClose(file, path, write);
    }
    if (problem.empty() && std::rename(temporary.c_str(), target.c_str()) != 0) {
        problem = cannotWrite(path);
    }
    if (problem.empty()) return true;
    unlink(temporary.c_str());
    return false;
}
