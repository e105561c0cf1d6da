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
    std::set<std::string> names;
};

}  // namespace

struct FolderWatch::State {
    int notify = -1;
    std::map<int, Folder> folders;

    // Reads the pending events and adds the watched files they concern to
    // `changed`.
    void collect(std::set<std::string>& changed) {
        alignas(inotify_event) char buffer[4096];
        const ssize_t length = read(notify, buffer, sizeof buffer);
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = folders.find(event->wd);
            if (folder == folders.end()) continue;
            // The folder itself went away: each of its files is gone too.
            if (event->mask & IN_IGNORED) {
                for (const std::string& name : folder->second.names) changed.insert(folder->second.folder + "/" + name);
                folders.erase(folder);
                continue;
            }
            if (event->len > 0 && folder->second.names.count(event->name) > 0) {
                changed.insert(folder->second.folder + "/" + event->name);
            }
        }
    }
};

FolderWatch::FolderWatch() : state_(new State) { state_->notify = inotify_init1(IN_CLOEXEC); }

FolderWatch::~FolderWatch() {
    if (state_->notify >= 0) close(state_->notify);
}

std::string FolderWatch::watch(const std::vector<std::string>& files) {
    if (state_->notify < 0) return std::string("cannot watch files: ") + std::strerror(errno);
    for (auto& entry : state_->folders) entry.second.names.clear();
    for (const std::string& file : files) {
        const std::filesystem::path path(file);
        const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
        const int watch = inotify_add_watch(state_->notify, folder.c_str(), kChanges);
        if (watch < 0) return "cannot watch " + folder + ": " + std::strerror(errno);
        state_->folders[watch].folder = folder;
        state_->folders[watch].names.insert(path.filename().string());
    }
    return "";
}

bool FolderWatch::waitForChange(std::set<std::string>& changed) {
    pollfd waited = {state_->notify, POLLIN, 0};
    for (;;) {
        const int timeout = changed.empty() ? -1 : kSettleMilliseconds;
        const int ready = poll(&waited, 1, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return ready == 0;
        state_->collect(changed);
    }
}
