#include "platform/stale_snapshots.h"

#include "editing/undo_history.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
bool OwnedByThisUser(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid == ::geteuid();
}

// The latest change to the folder or to anything in it.
fs::file_time_type LastChange(const fs::path& folder, std::error_code& error) {
    fs::file_time_type latest = fs::last_write_time(folder, error);
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const fs::file_time_type changed = fs::last_write_time(entry.path(), error);
        if (!error && changed > latest) latest = changed;
    }
    return latest;
}

bool RemoveIfStale(const fs::path& folder, fs::file_time_type now) {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error)) || !OwnedByThisUser(folder)) return false;
    const fs::file_time_type changed = LastChange(folder, error);
    if (error || now - changed < StaleSnapshotAge) return false;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (fs::is_regular_file(entry.symlink_status()) &&
            UndoHistory::IsFileName(entry.path().filename().string()))
            fs::remove(entry.path(), error);
    return fs::remove(folder, error); // only when empty
}
} // namespace

int RemoveStaleSnapshotFolders(const std::string& parent, fs::file_time_type now) {
    if (parent.empty()) return 0;
    int removed = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(parent, error))
        if (UndoHistory::IsFolderName(entry.path().filename().string()) && RemoveIfStale(entry.path(), now))
            ++removed;
    return removed;
}
