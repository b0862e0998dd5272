#include "app/partner_source.h"

#include "stone/stone_files.h"

#include <system_error>

namespace {
std::filesystem::file_time_type ModifiedAt(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    return error ? std::filesystem::file_time_type{} : time;
}
} // namespace

void PartnerSource::Choose(const std::string& design, const std::string& partner) {
    Design = design;
    Source = partner;
    Half.reset();
}

std::string PartnerSource::SourceFor(const std::string& designFile, std::string& why) const {
    if (!Source.empty() && designFile == Design) return Source;
    if (designFile.empty()) {
        why = "The design has no file yet: choose its partner half";
        return "";
    }
    const std::string named = PartnerFileName(designFile);
    if (named.empty())
        why = "No partner half: the name of " + designFile + " does not end in c or p";
    else if (!std::filesystem::exists(named))
        why = "No partner half: " + named + " does not exist";
    else
        return named;
    return "";
}

const TGem* PartnerSource::Refuse(const std::string& why) {
    Half.reset();
    ReadFile.clear();
    Why = why;
    return nullptr;
}

const TGem* PartnerSource::Find(const std::string& designFile, const TGem& design) {
    std::string why;
    const std::string source = SourceFor(designFile, why);
    if (source.empty()) return Refuse(why);
    const char kind = design.IsCrown() ? 'p' : 'c';
    const auto time = ModifiedAt(source);
    if (Half && ReadFile == source && ReadKind == kind && ReadTime == time) return Half.get();
    std::unique_ptr<TGem> half;
    const FileResult read = HasAscExtension(source) ? ImportHalf(source, kind, half) : ReadHalf(source, half);
    if (!read) return Refuse("The partner half " + source + " cannot be read: " + read.Error().Message);
    if (half->GemType == design.GemType)
        return Refuse("The partner half " + source + " is a " + (design.IsCrown() ? "crown" : "pavilion") +
                      " too");
    Half = std::move(half);
    ReadFile = source;
    ReadKind = kind;
    ReadTime = time;
    Why.clear();
    return Half.get();
}
