// Waiting for changes to a set of files, seen through their folders, so that
// an editor that saves by writing a new file and renaming it over the old one
// is followed too. Linux: inotify (watcher_posix.cpp); Windows:
// ReadDirectoryChangesW (watcher_windows.cpp). Shared by verrine-check
// --watch, which waits, and verrine-live, which looks once a frame.
#pragma once

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

// What the last change taken says of a watched file: a file written and
// closed (Linux only: Windows does not report a close), or renamed into
// place, is whole; one written on Windows, created, removed or renamed away
// may be a step of a save that goes on.
enum class FileChange { None, Partial, Whole };

class FolderWatch {
public:
    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the folders of `files`, paths as the user gave them, instead of
    // the files watched before; returns an empty text or why not.
    std::string watch(const std::vector<std::string>& files);

    // Blocks until a watched file changed and the burst of changes has
    // settled, as ChangeBurst says (true, with the files added to
    // `changed`), or until waiting failed (false).
    bool waitForChange(std::set<std::string>& changed);

    // Takes every change the system has reported, without blocking and
    // without looking at the disk. Adds the watched files they concern to
    // `changed`, each as given to watch(), and each watched folder that went
    // away to `vanished` (its files to `changed` as well: they are gone
    // too). Returns what the last change to a watched file says of it; None
    // when no watched file changed.
    FileChange takeChanges(std::set<std::string>& changed, std::set<std::string>& vanished);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// When a burst of changes is over: at once after a whole file, as the file
// is then as its writer meant it; after a step that may be followed by more,
// once the files have been quiet for a moment; and, so that a stream of
// saves still shows its progress, at the latest a while after the burst
// began. Bursts are acted on at most once in that while: a change that comes
// sooner after the last one acted on waits for it to pass.
class ChangeBurst {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuietAfterWhole{0};
    static constexpr std::chrono::milliseconds kQuietAfterPartial{100};
    static constexpr std::chrono::milliseconds kLongest{200};

    void noteChange(FileChange change, Clock::time_point now);
    bool pending() const { return pending_; }
    // How long from `now` until the burst is settled: zero when it is; only
    // meaningful while one is pending.
    Clock::duration untilSettled(Clock::time_point now) const;
    // The burst has been acted on, now; the next change starts a new one.
    void clear();

private:
    bool pending_ = false;
    Clock::time_point first_;
    Clock::time_point settled_;  // when it settles unless another change comes
    Clock::time_point actedOn_ = Clock::time_point::min();  // when the last burst was acted on
};
