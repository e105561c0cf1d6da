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

// One folder, read asynchronously: its event is set when changes arrived.
struct Folder {
    std::string folder;
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped = {};
    alignas(DWORD) char buffer[16384];
    std::map<std::wstring, std::string> names;  // lower-case name -> the file as given

    bool listen() {
        return ReadDirectoryChangesW(handle, buffer, sizeof buffer, FALSE, kChanges, nullptr, &overlapped,
                                     nullptr) != 0;
    }

    // Adds the watched files the finished read names to `changed`; every one
    // of them when the read overflowed or the folder went away.
    bool collect(std::set<std::string>& changed) {
        DWORD length = 0;
        const bool read = GetOverlappedResult(handle, &overlapped, &length, FALSE) != 0;
        if (!read || length == 0) {
            for (const auto& name : names) changed.insert(name.second);
            return read && listen();
        }
        for (DWORD at = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            CharLowerW(name.data());
            const auto found = names.find(name);
            if (found != names.end()) changed.insert(found->second);
            if (entry->NextEntryOffset == 0) break;
            at += entry->NextEntryOffset;
        }
        return listen();
    }

    ~Folder() {
        if (handle == INVALID_HANDLE_VALUE) return;
        CancelIo(handle);
        CloseHandle(handle);
        CloseHandle(overlapped.hEvent);
    }
};

}  // namespace

struct FolderWatch::State {
    std::map<std::string, std::unique_ptr<Folder>> folders;

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

bool FolderWatch::waitForChange(std::set<std::string>& changed) {
    for (;;) {
        std::vector<HANDLE> events;
        std::vector<Folder*> listening;
        for (auto& entry : state_->folders) {
            events.push_back(entry.second->overlapped.hEvent);
            listening.push_back(entry.second.get());
        }
        if (events.empty()) return !changed.empty();
        const DWORD timeout = changed.empty() ? INFINITE : kSettleMilliseconds;
        const DWORD ready = WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, timeout);
        if (ready == WAIT_TIMEOUT) return true;
        if (ready == WAIT_FAILED || ready >= WAIT_OBJECT_0 + events.size()) return false;
        Folder* folder = listening[ready - WAIT_OBJECT_0];
        // A folder that cannot be read any more (it was removed) is dropped;
        // its files count as changed, and the next check says what became of
        // them.
        if (!folder->collect(changed)) state_->folders.erase(folder->folder);
    }
}
