#include "tests/support/asc_files.h"

#include <algorithm>
#include <atomic>
#include <cmath>
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

namespace {
constexpr Real FlatAngle = 0.001L;
constexpr Real SameAngle = 1e-6L;
constexpr Real SameIndex = 0.01L;

bool ForHalf(Real angle, char type) {
    if (std::fabs(angle) < FlatAngle) return false;
    if (Near90(angle)) return true;
    return type == 'c' ? angle > 0 : angle < 0;
}

Real IndexGap(Real a, Real b, Real n) {
    const Real gap = std::fmod(std::fabs(a - b), n);
    return std::fmin(gap, n - gap);
}
} // namespace

std::vector<ListedFacet> ListedFacets(const TGem& gem, char type) {
    std::vector<ListedFacet> listed;
    for (int k = 1; k <= gem.Asc.LineCount; ++k) {
        const TGem::AscRecord& record = gem.Asc.Lines[k];
        if (!ForHalf(record.AscAngle, type)) continue;
        for (int j = 1; j <= record.AscIndexCount; ++j)
            listed.push_back({std::fabs(record.AscAngle), record.AscIndices[j]});
    }
    return listed;
}

std::vector<std::string> CompareWithListed(const TGem& gem, std::vector<ListedFacet> listed) {
    std::vector<std::string> faults;
    if (static_cast<std::size_t>(gem.FacetCount) != listed.size())
        faults.push_back(std::to_string(gem.FacetCount) + " facets for " + std::to_string(listed.size()) +
                         " listed");
    for (int f = 1; f <= gem.FacetCount; ++f) {
        auto match = std::find_if(listed.begin(), listed.end(), [&](const ListedFacet& l) {
            return std::fabs(l.angle - gem.FacetAngle(f)) < SameAngle &&
                   IndexGap(l.index, gem.Index(f), gem.IndexCount()) < SameIndex;
        });
        if (match == listed.end())
            faults.push_back("facet " + std::to_string(f) + " at angle " +
                             std::to_string(double(gem.FacetAngle(f))) + " index " +
                             std::to_string(double(gem.Index(f))) + " is not listed");
        else
            listed.erase(match);
    }
    return faults;
}
