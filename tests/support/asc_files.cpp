#include "tests/support/asc_files.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

TempFile::TempFile(const std::string& name) {
    static std::atomic<int> counter{0};
    folder_ = (fs::temp_directory_path() /
               ("lapidraw-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                  .string();
    fs::create_directories(folder_);
    path_ = (fs::path(folder_) / name).string();
}

TempFile::~TempFile() {
    std::error_code error;
    fs::remove_all(folder_, error);
}

void TempFile::Write(const std::string& bytes) const {
    std::ofstream out(path_, std::ios::binary);
    out << bytes;
}

std::string TempFile::Read() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> TempFile::Lines() const {
    std::vector<std::string> lines;
    const std::string text = Read();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> AscFilesIn(const std::vector<std::string>& folders) {
    std::map<std::string, std::string> byName;
    for (const auto& folder : folders) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".asc")
                byName.emplace(entry.path().filename().string(), entry.path().string());
    }
    std::vector<std::string> files;
    for (const auto& [name, path] : byName)
        files.push_back(path);
    return files;
}
