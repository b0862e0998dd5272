#include "editing/undo_history.h"

#include "gem/exchange_io.h"
#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {
constexpr int FolderAttempts = 100;
constexpr std::string_view FolderPrefix = "lapidraw-"; // + random hexadecimal digits
constexpr std::string_view StepExtension = ".lfx";

// "$$" + the letters and digits of the time of day + "$$".
std::string NewStem() {
    std::string stem = "$$";
    for (const char c : exchange::LocalTimeText("%X"))
        if (std::isalnum(static_cast<unsigned char>(c))) stem += c;
    return stem + "$$";
}
} // namespace

UndoHistory::UndoHistory() : Stem(NewStem()) {}

UndoHistory::~UndoHistory() {
    DeleteSteps();
}

FileResult UndoHistory::Record(TGem& design) {
    if (FolderPath.empty())
        if (FileResult folder = MakeFolder(); !folder) return folder;
    const int next = Steps.Current + 1;
    const FileResult written = design.WriteDesign(StepFile(next), TGem::FileMode::AsWritten, "");
    if (written) Steps = {next, next};
    return written;
}

FileResult UndoHistory::Undo(TGem& design) {
    if (!CanUndo()) return FileResult::NothingToRead();
    return ReadStep(design, Steps.Current - 1);
}

FileResult UndoHistory::Redo(TGem& design) {
    if (!CanRedo()) return FileResult::NothingToRead();
    return ReadStep(design, Steps.Current + 1);
}

FileResult UndoHistory::Reload(TGem& design) {
    if (Steps.Current < 0) return FileResult::NothingToRead();
    return ReadStep(design, Steps.Current);
}

FileResult UndoHistory::ReadStep(TGem& design, int n) {
    FileResult read = design.ReadDesign(StepFile(n), TGem::FileMode::AsWritten);
    if (read) Steps.Current = n;
    return read;
}

std::string UndoHistory::ChangedSuffix() const {
    if (!CanUndo()) return "";
    return " (changed: " + PadLeft(IntText(Steps.Current), 2) + ")";
}

std::string UndoHistory::StepFile(int n) const {
    return Prefix + IntText(n) + std::string(StepExtension);
}

std::string UndoHistory::ParentFolder() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    return error ? std::string() : base.string();
}

bool UndoHistory::IsFolderName(const std::string& name) {
    const std::string hex = name.substr(std::min(name.size(), FolderPrefix.size()));
    return name.starts_with(FolderPrefix) && hex.size() == exchange::RandomHexLength &&
           std::all_of(hex.begin(), hex.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

bool UndoHistory::IsFileName(const std::string& name) {
    return (name.starts_with("$$") && name.ends_with(StepExtension)) ||
           (name.starts_with(".$$") && name.ends_with(".tmp"));
}

FileResult UndoHistory::MakeFolder() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (!error) {
        for (int attempt = 0; attempt < FolderAttempts; ++attempt) {
            const fs::path folder = base / (std::string(FolderPrefix) + exchange::RandomHex());
            if (!fs::create_directory(folder, error)) {
                if (error) break;
                continue; // the name is taken: draw another
            }
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
            if (error) {
                fs::remove(folder);
                break;
            }
            FolderPath = folder.string();
            Prefix = (folder / Stem).string();
            return {};
        }
    }
    const int code = error ? error.value() : EEXIST;
    const fs::path step = base / (Stem + IntText(Steps.Current + 1) + std::string(StepExtension));
    return FileResult::Failure(exchange::CannotWriteMessage(step.string(), code), 0, code);
}

void UndoHistory::DeleteSteps() {
    if (FolderPath.empty()) return;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(FolderPath, error)) {
        const std::string found = entry.path().filename().string();
        const bool step = found.starts_with(Stem) && found.ends_with(StepExtension);
        const bool unfinished = found.starts_with("." + Stem) && found.ends_with(".tmp");
        if (step || unfinished) fs::remove(entry.path(), error);
    }
    fs::remove(FolderPath, error); // only when empty: never more than this run made
}
