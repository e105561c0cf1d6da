#include "tools/system/watcher.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

namespace {

// Every change that adds, replaces, fills or removes a file in a folder.
constexpr uint32_t kChanges = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;

struct Folder {
    std::string folder;
    std::map<std::string, std::string> files;  // as given to watch(), by name in the folder
};

}  // namespace

struct FolderWatch::State {
    int notify = -1;
    std::map<int, Folder> folders;
    ChangeBurst burst;  // kept from one wait to the next, which it spaces out
};

// Non-blocking: verrine-live reads it once a frame, and a wait polls first.
FolderWatch::FolderWatch() : state_(new State) { state_->notify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK); }

FolderWatch::~FolderWatch() {
    if (state_->notify >= 0) close(state_->notify);
}

std::string FolderWatch::watch(const std::vector<std::string>& files) {
    if (state_->notify < 0) return std::string("cannot watch files: ") + std::strerror(errno);
    for (auto& entry : state_->folders) entry.second.files.clear();
    for (const std::string& file : files) {
        const std::filesystem::path path(file);
        const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
        const int watch = inotify_add_watch(state_->notify, folder.c_str(), kChanges);
        if (watch < 0) return "cannot watch " + folder + ": " + std::strerror(errno);
        state_->folders[watch].folder = folder;
        state_->folders[watch].files[path.filename().string()] = file;
    }
    return "";
}

FileChange FolderWatch::takeChanges(std::set<std::string>& changed, std::set<std::string>& vanished) {
    FileChange last = FileChange::None;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = read(state_->notify, buffer, sizeof buffer);
        if (length <= 0) return last;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = state_->folders.find(event->wd);
            if (folder == state_->folders.end()) continue;
            const Folder& watched = folder->second;
            // The folder itself went away: each of its files is gone too.
            if (event->mask & IN_IGNORED) {
                vanished.insert(watched.folder);
                for (const auto& file : watched.files) changed.insert(file.second);
                if (!watched.files.empty()) last = FileChange::Partial;
                state_->folders.erase(folder);
                continue;
            }
            const auto file = event->len > 0 ? watched.files.find(event->name) : watched.files.end();
            if (file != watched.files.end()) {
                changed.insert(file->second);
                last = event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO) ? FileChange::Whole : FileChange::Partial;
            }
        }
    }
}

bool FolderWatch::waitForChange(std::set<std::string>& changed) {
    pollfd waited = {state_->notify, POLLIN, 0};
    ChangeBurst& burst = state_->burst;
    std::set<std::string> vanished;
    for (;;) {
        int timeout = -1;
        if (burst.pending()) {
            const auto wait = burst.untilSettled(ChangeBurst::Clock::now());
            if (wait == ChangeBurst::Clock::duration::zero()) {
                burst.clear();
                return true;
            }
            timeout = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        }
        const int ready = poll(&waited, 1, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        burst.noteChange(takeChanges(changed, vanished), ChangeBurst::Clock::now());
    }
}
