#include "stone/stone_files.h"

#include <filesystem>

namespace {
bool HasAscExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".asc";
}

bool ReadHalf(const std::string& path, std::unique_ptr<TGem>& gem, FileError& error) {
    gem = std::make_unique<TGem>();
    if (!gem->ReadDesign(path, TGem::FileMode::Open)) return error.Set(gem->LastError.Message);
    gem->GroupTiers();
    return true;
}

bool ImportHalf(const std::string& path, char type, std::unique_ptr<TGem>& gem, FileError& error) {
    gem = std::make_unique<TGem>();
    // The import uses the buffer up, so each half reads the file afresh.
    if (!gem->ReadAsc(path) || !gem->ImportAsc(type)) return error.Set(gem->LastError.Message);
    gem->Recompute();
    gem->GroupTiers();
    return true;
}
} // namespace

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

bool ReadAscHalves(const std::string& path, StoneHalves& halves, FileError& error) {
    halves = StoneHalves{};
    error.Clear();
    if (!ImportHalf(path, 'c', halves.Crown, error) || !ImportHalf(path, 'p', halves.Pavilion, error)) {
        halves = StoneHalves{};
        return false;
    }
    halves.CrownFile = halves.PavilionFile = path;
    return true;
}

bool ReadDesignPair(const std::string& path, const std::string& partner, StoneHalves& halves,
                    FileError& error) {
    halves = StoneHalves{};
    error.Clear();
    std::string other = partner;
    if (other.empty()) {
        other = PartnerFileName(path);
        if (other.empty())
            return error.Set("No partner half for " + path + ": its name does not end in c or p");
        if (!std::filesystem::exists(other))
            return error.Set("No partner half for " + path + ": " + other + " does not exist");
    }
    std::unique_ptr<TGem> first, second;
    if (!ReadHalf(path, first, error) || !ReadHalf(other, second, error)) return false;
    if (first->GemType == second->GemType)
        return error.Set(path + " and " + other + " are both " + (first->IsCrown() ? "crowns" : "pavilions"));
    const bool firstIsCrown = first->IsCrown();
    halves.CrownFile = firstIsCrown ? path : other;
    halves.PavilionFile = firstIsCrown ? other : path;
    halves.Crown = std::move(firstIsCrown ? first : second);
    halves.Pavilion = std::move(firstIsCrown ? second : first);
    return true;
}

bool ReadStoneHalves(const std::string& path, const std::string& partner, StoneHalves& halves,
                     FileError& error) {
    if (!HasAscExtension(path)) return ReadDesignPair(path, partner, halves, error);
    if (!partner.empty()) {
        halves = StoneHalves{};
        return error.Set("An ASC file holds both halves: no partner is taken with " + path);
    }
    return ReadAscHalves(path, halves, error);
}
