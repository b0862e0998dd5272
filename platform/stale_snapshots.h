// Snapshot folders that earlier runs left behind: a run that crashed or was killed cannot remove its
// own, so they would pile up in the temporary folder.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// How long a snapshot folder must have been left unchanged before it counts as left behind.
inline constexpr std::chrono::hours StaleSnapshotAge{24};

// Removes from `parent` the snapshot folders of this user that nothing has changed for a day (by the
// clock `now`): their snapshot files, then the folder itself when that left it empty. Folders of other
// users, folders changed within the day, links and everything not named as a snapshot are left alone.
// Answers the number of folders removed.
int RemoveStaleSnapshotFolders(const std::string& parent, std::filesystem::file_time_type now);
