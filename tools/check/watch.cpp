#include "tools/check/watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "tools/system/signals.h"

namespace {

// An editor's save may be several steps (write a new file, rename the old
// one away, rename the new one in); the check waits until the folder has
// been quiet this long, so it runs once, on the finished file.
constexpr int kSettleMilliseconds = 100;

// Every change that adds, replaces, fills or removes a file in a folder.
constexpr uint32_t kChanges = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;

std::string now() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

class FolderWatch {
public:
    FolderWatch() : notify_(inotify_init1(IN_CLOEXEC)) {}
    ~FolderWatch() {
        if (notify_ >= 0) close(notify_);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    int descriptor() const { return notify_; }

    // Watches the folders of `files`; returns an empty text or why not.
    std::string watch(const std::vector<std::string>& files) {
        if (notify_ < 0) return std::string("cannot watch files: ") + std::strerror(errno);
        for (auto& entry : folders_) entry.second.names.clear();
        for (const std::string& file : files) {
            const std::filesystem::path path(file);
            const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
            const int watch = inotify_add_watch(notify_, folder.c_str(), kChanges);
            if (watch < 0) return "cannot watch " + folder + ": " + std::strerror(errno);
            folders_[watch].folder = folder;
            folders_[watch].names.insert(path.filename().string());
        }
        return "";
    }

    // Reads the pending events and adds the watched files they concern to
    // `changed`.
    void collect(std::set<std::string>& changed) {
        alignas(inotify_event) char buffer[4096];
        const ssize_t length = read(notify_, buffer, sizeof buffer);
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = folders_.find(event->wd);
            if (folder == folders_.end()) continue;
            // The folder itself went away: each of its files is gone too.
            if (event->mask & IN_IGNORED) {
                for (const std::string& name : folder->second.names) changed.insert(folder->second.folder + "/" + name);
                folders_.erase(folder);
                continue;
            }
            if (event->len > 0 && folder->second.names.count(event->name) > 0) {
                changed.insert(folder->second.folder + "/" + event->name);
            }
        }
    }

private:
    struct Folder {
        std::string folder;
        std::set<std::string> names;
    };
    int notify_;
    std::map<int, Folder> folders_;
};

// Blocks until a watched file changed and the folder settled (true), or
// waiting failed (false).
bool waitForChange(FolderWatch& folders, std::set<std::string>& changed) {
    pollfd waited = {folders.descriptor(), POLLIN, 0};
    for (;;) {
        const int timeout = changed.empty() ? -1 : kSettleMilliseconds;
        const int ready = poll(&waited, 1, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return ready == 0;
        folders.collect(changed);
    }
}

std::string joined(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

int watchAndCheck(const std::function<std::vector<std::string>()>& check, std::ostream& out,
                  std::ostream& err) {
    // A stop ends the process at once, even in the middle of a check the
    // driver takes long over; everything printed is flushed before a wait.
    endOnStopSignals();
    FolderWatch folders;

    out << '[' << now() << "] checking\n";
    for (bool first = true;; first = false) {
        const std::string problem = folders.watch(check());
        if (!problem.empty()) {
            err << "verrine-check: " << problem << '\n';
            return 2;
        }
        if (first) out << '[' << now() << "] watching for changes; Ctrl-C stops" << std::endl;
        out.flush();
        std::set<std::string> changed;
        if (!waitForChange(folders, changed)) return 0;
        out << '[' << now() << "] " << joined(changed) << " changed" << std::endl;
    }
}
