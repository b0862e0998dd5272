#include "library/design_scan.h"

#include "library/library_error.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {
std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool IsDesignFile(const fs::path& path) {
    const std::string ext = Lower(path.extension().string());
    return ext == ".asc" || ext == ".lfx";
}

// The pavilion's file that goes with a crown's design file: NAMEc.lfx with NAMEp.lfx (the case of
// the letter kept).
std::string PavilionPartner(const fs::path& path) {
    if (Lower(path.extension().string()) != ".lfx") return "";
    std::string stem = path.stem().string();
    if (stem.size() < 2) return "";
    char& last = stem.back();
    if (last != 'c' && last != 'C') return "";
    last = last == 'c' ? 'p' : 'P';
    return (path.parent_path() / (stem + path.extension().string())).string();
}
} // namespace

std::string CanonicalFolder(const std::string& folder) {
    std::error_code error;
    const fs::path path = fs::canonical(folder, error);
    if (error || !fs::is_directory(path, error))
        throw LibraryError("cannot index " + folder + ": not a folder");
    return path.string();
}

bool IsInside(const std::string& path, const std::string& folder) {
    if (folder == "/") return path.size() > 1 && path[0] == '/';
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

std::vector<DesignJob> ScanFolders(const std::vector<std::string>& folders) {
    std::map<std::string, FoundFile> found;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (fs::recursive_directory_iterator
                 it(folder, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end; it.increment(error)) {
            const fs::directory_entry& entry = *it;
            std::error_code statError;
            if (!entry.is_regular_file(statError) || !IsDesignFile(entry.path())) continue;
            FoundFile file;
            file.Path = entry.path().string();
            file.Size = static_cast<std::int64_t>(entry.file_size(statError));
            file.Modified = entry.last_write_time(statError).time_since_epoch().count();
            if (!statError) found.emplace(file.Path, file);
        }
    }
    std::vector<DesignJob> jobs;
    std::map<std::string, bool> partnered;
    for (const auto& [path, file] : found) {
        const std::string partner = PavilionPartner(path);
        if (!partner.empty() && found.count(partner)) partnered[partner] = true;
    }
    for (const auto& [path, file] : found) {
        if (partnered.count(path)) continue;
        DesignJob job{{file}};
        const std::string partner = PavilionPartner(path);
        if (!partner.empty() && found.count(partner)) job.Files.push_back(found.at(partner));
        jobs.push_back(std::move(job));
    }
    return jobs;
}

std::string Utf8FromLatin1(const std::string& text) {
    std::string utf8;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}
