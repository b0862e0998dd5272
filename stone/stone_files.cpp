#include "stone/stone_files.h"

#include "gem/exchange_io.h"
#include "gem/numtext.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <tuple>

bool HasAscExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".asc";
}

namespace {
FileResult ImportInto(const std::string& path, char type, TGem& gem) {
    if (FileResult read = gem.ReadAsc(path); !read) return read;
    return gem.ImportAsc(type);
}

// The ASC file read into one design's buffer, copied into another's: the import uses a buffer up, and
// reading the file again would cost as much as the import.
void CopyAscBuffer(const TGem& from, TGem& to) {
    to.Asc.Gear = from.Asc.Gear;
    to.Asc.Offset = from.Asc.Offset;
    to.Asc.Parts = from.Asc.Parts;
    to.Asc.Mirror = from.Asc.Mirror;
    for (int k = 1; k <= TGem::AscHeaderCount; ++k)
        to.Asc.Header[k] = from.Asc.Header[k];
    to.Asc.LineCount = from.Asc.LineCount;
    for (int k = 1; k <= TGem::MaxAscLines; ++k) {
        const TGem::AscRecord& line = from.Asc.Lines[k];
        TGem::AscRecord& copy = to.Asc.Lines[k];
        copy.AscAngle = line.AscAngle;
        copy.AscDistance = line.AscDistance;
        copy.AscIndexCount = line.AscIndexCount;
        for (int j = 1; j <= line.AscIndexCount; ++j)
            copy.AscIndices[j] = line.AscIndices[j];
    }
}
} // namespace

FileResult ReadHalfInto(const std::string& path, TGem& gem) {
    return gem.ReadDesign(path, TGem::FileMode::Open);
}

FileResult ReadHalf(const std::string& path, std::unique_ptr<TGem>& gem) {
    gem = std::make_unique<TGem>();
    return ReadHalfInto(path, *gem);
}

FileResult ImportHalf(const std::string& path, char type, std::unique_ptr<TGem>& gem) {
    gem = std::make_unique<TGem>();
    return ImportInto(path, type, *gem);
}

std::string PartnerFileName(const std::string& half) {
    const std::filesystem::path path(half);
    std::string stem = path.stem().string();
    if (stem.empty()) return "";
    char& last = stem.back();
    const char swapped = last == 'c' ? 'p' : last == 'p' ? 'c' : last == 'C' ? 'P' : last == 'P' ? 'C' : 0;
    if (swapped == 0) return "";
    last = swapped;
    return (path.parent_path() / (stem + path.extension().string())).string();
}

FileResult ReadAscHalvesInto(const std::string& path, TGem& crown, TGem& pavilion) {
    if (FileResult read = crown.ReadAsc(path); !read) return read;
    CopyAscBuffer(crown, pavilion);
    if (FileResult imported = crown.ImportAsc('c'); !imported) return imported;
    return pavilion.ImportAsc('p');
}

FileResult ReadAscHalves(const std::string& path, StoneHalves& halves) {
    halves = StoneHalves{};
    auto crown = std::make_unique<TGem>(), pavilion = std::make_unique<TGem>();
    if (FileResult read = ReadAscHalvesInto(path, *crown, *pavilion); !read) return read;
    halves.Crown = std::move(crown);
    halves.Pavilion = std::move(pavilion);
    halves.CrownFile = halves.PavilionFile = path;
    return {};
}

FileResult ReadDesignPair(const std::string& path, const std::string& partner, StoneHalves& halves) {
    halves = StoneHalves{};
    std::string other = partner;
    if (other.empty()) {
        other = PartnerFileName(path);
        if (other.empty())
            return FileResult::Failure("No partner half for " + path + ": its name does not end in c or p");
        if (!std::filesystem::exists(other))
            return FileResult::Failure("No partner half for " + path + ": " + other + " does not exist");
    }
    std::unique_ptr<TGem> first, second;
    if (FileResult read = ReadHalf(path, first); !read) return read;
    if (FileResult read = ReadHalf(other, second); !read) return read;
    if (first->GemType == second->GemType)
        return FileResult::Failure(path + " and " + other + " are both " +
                                   (first->IsCrown() ? "crowns" : "pavilions"));
    const bool firstIsCrown = first->IsCrown();
    halves.CrownFile = firstIsCrown ? path : other;
    halves.PavilionFile = firstIsCrown ? other : path;
    halves.Crown = std::move(firstIsCrown ? first : second);
    halves.Pavilion = std::move(firstIsCrown ? second : first);
    return {};
}

FileResult ReadStoneHalves(const std::string& path, const std::string& partner, StoneHalves& halves) {
    if (!HasAscExtension(path)) return ReadDesignPair(path, partner, halves);
    if (!partner.empty()) {
        halves = StoneHalves{};
        return FileResult::Failure("An ASC file holds both halves: no partner is taken with " + path);
    }
    return ReadAscHalves(path, halves);
}

// ---- Whole-stone ASC export ----

namespace {
constexpr Real AscScale = 49; // the import's: plane constant = 49 x file distance
constexpr int AngleDecimals = 8, DistanceDecimals = 8, IndexDecimals = 6;

// The file index of a raw index by the crown's gear direction and offset.
Real FileIndex(const TGem& crown, Real index) {
    if (crown.SystemIndex > 0) return crown.Wrap(index - crown.OffsetIndex);
    return crown.Wrap(crown.IndexCount() - (index - crown.OffsetIndex));
}

std::string IndexWord(Real f) {
    const Real whole = std::round(f);
    return std::fabs(f - whole) < 1e-9L ? IntText(static_cast<long long>(whole))
                                        : Trim(fixed(f, 0, IndexDecimals));
}

// Facet lines of one half: the signed angle and distance, as written, with their indices in order.
using FacetLines = std::vector<std::pair<std::string, std::vector<std::string>>>;

void AddFacetLines(const TGem& half, const TGem& crown, bool girdleToo, FacetLines& lines) {
    std::map<std::string, std::size_t> lineOf;
    for (int f = 1; f <= half.FacetCount; ++f) {
        const Real angle = half.FacetAngle(f);
        if (Near90(angle) != girdleToo) continue;
        const std::string head =
            "a " + Trim(fixed(half.IsCrown() || Near90(angle) ? angle : -angle, 0, AngleDecimals)) + " " +
            Trim(fixed(std::fabs(half.Dist(f)) / AscScale, 0, DistanceDecimals));
        const auto [it, added] = lineOf.try_emplace(head, lines.size());
        if (added) lines.push_back({head, {}});
        lines[it->second].second.push_back(IndexWord(FileIndex(crown, half.Index(f))));
    }
}

// The girdle facets of the pavilion that the crown does not have already.
void AddMissingGirdleLines(const TGem& pavilion, const TGem& crown, FacetLines& lines) {
    FacetLines crownGirdle, pavilionGirdle;
    AddFacetLines(crown, crown, true, crownGirdle);
    AddFacetLines(pavilion, crown, true, pavilionGirdle);
    for (auto& [head, indices] : pavilionGirdle) {
        std::vector<std::string> missing;
        for (const std::string& index : indices) {
            bool found = false;
            for (const auto& [crownHead, crownIndices] : crownGirdle)
                for (const std::string& crownIndex : crownIndices)
                    found = found || (crownHead == head && crownIndex == index);
            if (!found) missing.push_back(index);
        }
        if (!missing.empty()) lines.push_back({head, missing});
    }
}
} // namespace

FileResult WriteStoneAsc(const TGem& crown, const TGem& pavilion, const std::string& path) {
    exchange::TextFileWriter file(path);
    if (!file.IsOpen()) {
        const int code = file.Close();
        return FileResult::Failure(exchange::CannotWriteMessage(path, code), 0, code);
    }
    file.WriteLine("GemCad 10.00");
    file.WriteLine("g " + PadLeft(IntText(crown.SystemIndex), 6) + " " +
                   PadLeft(IntText(crown.OffsetIndex), 6));
    file.WriteLine("y " + IntText(crown.DesignParts) + " " + (crown.DesignMirror ? "y" : "n"));
    for (const std::string& k : {crown.TextLine(CutNameLine), crown.TextLine(AuthorLine)})
        if (!Trim(k).empty()) file.WriteLine("H " + Trim(k));
    // The table (positive distance) and the culet plane (negative).
    file.WriteLine("a 0.0 " + Trim(fixed(-crown.Dist(-1) / AscScale, 0, DistanceDecimals)) + " 0");
    file.WriteLine("a 0.0 " + Trim(fixed(pavilion.Dist(-1) / AscScale, 0, DistanceDecimals)) + " 0");
    FacetLines lines;
    AddFacetLines(crown, crown, true, lines);
    AddMissingGirdleLines(pavilion, crown, lines);
    AddFacetLines(crown, crown, false, lines);
    AddFacetLines(pavilion, crown, false, lines);
    for (const auto& [head, indices] : lines) {
        std::string line = head;
        for (const std::string& index : indices)
            line += " " + index;
        file.WriteLine(line);
    }
    for (int k = 1; k <= 8; ++k)
        if (!Trim(crown.TextLine(k)).empty()) file.WriteLine("F " + Trim(crown.TextLine(k)));
    if (const int code = file.Close(); code != 0)
        return FileResult::Failure(exchange::CannotWriteMessage(path, code), 0, code);
    return {};
}
