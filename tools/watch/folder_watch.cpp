#include "tools/watch/folder_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

// Every change that adds, replaces, fills or removes a file in a folder.
constexpr uint32_t kChanges = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;

}  // namespace

FolderWatch::FolderWatch() : notify_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {}

FolderWatch::~FolderWatch() {
    if (notify_ >= 0) close(notify_);
}

std::string FolderWatch::watch(const std::vector<std::string>& files) {
    if (notify_ < 0) return std::string("cannot watch files: ") + std::strerror(errno);
    for (auto& entry : folders_) entry.second.files.clear();
    for (const std::string& file : files) {
        const std::filesystem::path path(file);
        const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
        const int watch = inotify_add_watch(notify_, folder.c_str(), kChanges);
        if (watch < 0) return "cannot watch " + folder + ": " + std::strerror(errno);
        folders_[watch].folder = folder;
        folders_[watch].files[path.filename().string()] = file;
    }
    return "";
}

FileChange FolderWatch::collect(std::set<std::string>& changed, std::set<std::string>& vanished) {
    FileChange last = FileChange::None;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = read(notify_, buffer, sizeof buffer);
        if (length <= 0) return last;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = folders_.find(event->wd);
            if (folder == folders_.end()) continue;
            const Folder& watched = folder->second;
            // The folder itself went away: each of its files is gone too.
            if (event->mask & IN_IGNORED) {
                vanished.insert(watched.folder);
                for (const auto& file : watched.files) changed.insert(file.second);
                if (!watched.files.empty()) last = FileChange::Partial;
                folders_.erase(folder);
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

void ChangeBurst::noteChange(FileChange change, Clock::time_point now) {
    if (change == FileChange::None) return;
    if (!pending_) first_ = now;
    pending_ = true;
    settled_ = now + (change == FileChange::Whole ? kQuietAfterWhole : kQuietAfterPartial);
}

ChangeBurst::Clock::duration ChangeBurst::untilSettled(Clock::time_point now) const {
    return std::max(Clock::duration::zero(), std::min(settled_, first_ + kLongest) - now);
}
