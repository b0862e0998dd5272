// Finding the design files of folder trees and what is to be read of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FoundFile {
    std::string Path; // absolute, symbolic links in the folders given resolved
    std::int64_t Size = 0;
    std::int64_t Modified = 0; // modification time, in the file system's clock ticks
};

// What one worker reads at a time: an ASC file, a design file, or a crown's design file with its
// pavilion's (NAMEc.lfx and NAMEp.lfx in one folder). Its key is the first file's path.
struct DesignJob {
    std::vector<FoundFile> Files;
    const std::string& Key() const { return Files.front().Path; }
};

// The folder as an absolute path without symbolic links; throws LibraryError when it is not a folder.
std::string CanonicalFolder(const std::string& folder);
// Every .asc and .lfx file below the folders (given canonical), as jobs in path order.
std::vector<DesignJob> ScanFolders(const std::vector<std::string>& folders);
// Whether a path lies inside a folder (given canonical).
bool IsInside(const std::string& path, const std::string& folder);
// Latin-1 text as UTF-8.
std::string Utf8FromLatin1(const std::string& text);
