#include "app/file_questions.h"

#include <filesystem>
#include <system_error>

namespace {
constexpr char Separator = '/';

std::string::size_type NameStart(const std::string& path) {
    const auto slash = path.find_last_of(Separator);
    return slash == std::string::npos ? 0 : slash + 1;
}
} // namespace

std::string NameOnly(const std::string& path) {
    const std::string name = path.substr(NameStart(path));
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}

std::string WithoutTrailingSeparator(const std::string& folder) {
    if (folder.size() > 1 && folder.back() == Separator) return folder.substr(0, folder.size() - 1);
    return folder;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string WithDesignExtension(const std::string& chosen) {
    return WithoutTrailingSeparator(FolderOf(chosen)) + Separator + NameOnly(chosen) + ".lfx";
}

bool FileMustExist(MessageService& messages, const std::string& path) {
    if (FileExists(path)) return false;
    messages.Beep();
    messages.ShowError(" File: " + path + " does not exist");
    return true;
}

bool ConfirmOverwrite(MessageService& messages, const std::string& path) {
    if (!FileExists(path)) return false;
    messages.Beep();
    return messages.Confirm(" File " + path + " exists and will be overwritten. Are you sure ?") !=
           Answer::Yes;
}

bool RunSaveDialog(const Services& services, FileDialogRequest& dialog, const std::string& name,
                   bool checkOverwrite) {
    dialog.FileName = NameOnly(name);
    const auto chosen = services.Files.SaveFile(dialog);
    if (!chosen) return false;
    dialog.FileName = *chosen;
    return !checkOverwrite || !ConfirmOverwrite(services.Messages, *chosen);
}

bool RunOpenDialog(const Services& services, FileDialogRequest& dialog) {
    const auto chosen = services.Files.OpenFile(dialog);
    if (!chosen) return false;
    dialog.FileName = *chosen;
    return true;
}

void RememberFolder(FileDialogRequest& dialog) {
    dialog.InitialDir = FolderOf(dialog.FileName);
}
