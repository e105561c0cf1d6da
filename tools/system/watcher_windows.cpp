#include "tools/system/watcher.h"

#include <windows.h>

#include <filesystem>
#include <map>

#include "tools/system/system_error_windows.h"
#include "tools/system/text_encoding.h"

namespace {

// Every change that adds, replaces, fills or removes a file in a folder; a
// rename reports the new name as added.
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// Windows says nothing when a file is closed, and a file written in several
// pieces is reported modified after each: only a file renamed into place is
// known to be whole. One written, added, removed or renamed away may be a
// step of a save that goes on, and is acted on once the folder is quiet.
FileChange changeOf(DWORD action) {
    return action == FILE_ACTION_RENAMED_NEW_NAME ? FileChange::Whole : FileChange::Partial;
}

// One folder, read asynchronously: its event is set when changes arrived.
struct Folder {
    std::string folder;
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped = {};
    alignas(DWORD) char buffer[16384];
    std::map<std::wstring, std::string> names;  // lower-case name -> the file as given

    ~Folder() {
        if (handle == INVALID_HANDLE_VALUE) return;
        CancelIo(handle);
        CloseHandle(handle);
        CloseHandle(overlapped.hEvent);
    }

    bool listen() {
        return ReadDirectoryChangesW(handle, buffer, sizeof buffer, FALSE, kChanges, nullptr, &overlapped,
                                     nullptr) != 0;
    }

    // Takes the changes of every read that has finished, without waiting,
    // and reads again: adds the watched files they name to `changed` and
    // returns what the last of them says. After an overflow every watched
    // file counts as changed. `gone` when the folder was removed: Windows
    // fails its read, Wine reports its files removed and says no more.
    FileChange take(std::set<std::string>& changed, bool& gone) {
        FileChange last = FileChange::None;
        bool removals = false;
        while (!gone && WaitForSingleObject(overlapped.hEvent, 0) == WAIT_OBJECT_0) {
            DWORD length = 0;
            const bool read = GetOverlappedResult(handle, &overlapped, &length, FALSE) != 0;
            const bool overflowed = read ? length == 0 : GetLastError() == ERROR_NOTIFY_ENUM_DIR;
            if (overflowed) {
                last = everyFile(changed);
            } else if (read) {
                last = collect(changed, last, removals);
            }
            gone = !(read || overflowed) || !listen();
        }
        if (removals && !gone) gone = !stillThere();
        return gone ? everyFile(changed) : last;
    }

private:
    // `removals` when anything in the folder was removed or renamed away.
    FileChange collect(std::set<std::string>& changed, FileChange last, bool& removals) const {
        for (DWORD at = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            CharLowerW(name.data());
            removals |= entry->Action == FILE_ACTION_REMOVED || entry->Action == FILE_ACTION_RENAMED_OLD_NAME;
            const auto found = names.find(name);
            if (found != names.end()) {
                changed.insert(found->second);
                last = changeOf(entry->Action);
            }
            if (entry->NextEntryOffset == 0) return last;
            at += entry->NextEntryOffset;
        }
    }

    bool stillThere() const {
        const DWORD attributes = GetFileAttributesW(wideFromUtf8(folder).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    FileChange everyFile(std::set<std::string>& changed) const {
        for (const auto& name : names) changed.insert(name.second);
        return names.empty() ? FileChange::None : FileChange::Partial;
    }

};

}  // namespace

struct FolderWatch::State {
    std::map<std::string, std::unique_ptr<Folder>> folders;
    ChangeBurst burst;  // kept from one wait to the next, which it spaces out

    std::string open(const std::string& folder) {
        auto entry = std::make_unique<Folder>();
        entry->folder = folder;
        entry->handle = CreateFileW(wideFromUtf8(folder).c_str(), FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (entry->handle == INVALID_HANDLE_VALUE) return "cannot watch " + folder + ": " + systemMessage(GetLastError());
        entry->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!entry->listen()) return "cannot watch " + folder + ": " + systemMessage(GetLastError());
        folders[folder] = std::move(entry);
        return "";
    }
};

FolderWatch::FolderWatch() : state_(new State) {}

FolderWatch::~FolderWatch() = default;

// Folders stay open from one check to the next, so that a change made while
// a check runs is not missed.
std::string FolderWatch::watch(const std::vector<std::string>& files) {
    for (auto& entry : state_->folders) entry.second->names.clear();
    for (const std::string& file : files) {
        const std::filesystem::path path = std::filesystem::u8path(file);
        const std::string folder = path.has_parent_path() ? path.parent_path().u8string() : ".";
        if (state_->folders.count(folder) == 0) {
            const std::string problem = state_->open(folder);
            if (!problem.empty()) return problem;
        }
        std::wstring name = path.filename().wstring();
        CharLowerW(name.data());
        state_->folders[folder]->names[name] = file;
    }
    return "";
}

// Looks at each folder's event without waiting: nothing reads the disk. A
// folder that went away is dropped; its files count as changed, and the
// next build says what became of them. Across folders, a step that may go
// on outweighs a whole file.
FileChange FolderWatch::takeChanges(std::set<std::string>& changed, std::set<std::string>& vanished) {
    FileChange last = FileChange::None;
    for (auto entry = state_->folders.begin(); entry != state_->folders.end();) {
        bool gone = false;
        const FileChange change = entry->second->take(changed, gone);
        if (last != FileChange::Partial && change != FileChange::None) last = change;
        if (!gone) {
            ++entry;
            continue;
        }
        vanished.insert(entry->first);
        entry = state_->folders.erase(entry);
    }
    return last;
}

bool FolderWatch::waitForChange(std::set<std::string>& changed) {
    ChangeBurst& burst = state_->burst;
    std::set<std::string> vanished;
    for (;;) {
        DWORD timeout = INFINITE;
        if (burst.pending()) {
            const auto wait = burst.untilSettled(ChangeBurst::Clock::now());
            if (wait == ChangeBurst::Clock::duration::zero()) {
                burst.clear();
                return true;
            }
            timeout = static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        }
        std::vector<HANDLE> events;
        for (auto& entry : state_->folders) events.push_back(entry.second->overlapped.hEvent);
        // Every folder went away: what changed is reported, and the caller
        // watches again.
        if (events.empty()) {
            if (!burst.pending()) return false;
            burst.clear();
            return true;
        }
        const DWORD ready = WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, timeout);
        if (ready == WAIT_FAILED) return false;
        burst.noteChange(takeChanges(changed, vanished), ChangeBurst::Clock::now());
    }
}
