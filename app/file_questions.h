// File-name helpers and the file questions shared by the window's commands and the dialogs.
#pragma once

#include "services/services.h"

#include <string>

// The file name without folder and extension.
std::string NameOnly(const std::string& path);
// The folder part of a path, with its trailing separator; empty for a bare file name.
std::string FolderOf(const std::string& path);
// The path with its trailing separator removed (a lone root separator stays).
std::string WithoutTrailingSeparator(const std::string& folder);
// True when the file exists.
bool FileExists(const std::string& path);

// When the file is missing: beeps, shows " File: <path> does not exist" and answers true (stop).
bool FileMustExist(MessageService& messages, const std::string& path);
// When the file exists: asks whether to overwrite it and answers true (do not write) unless Yes was
// chosen. A missing file answers false at once.
bool ConfirmOverwrite(MessageService& messages, const std::string& path);
// Presets the dialog's file name with NameOnly(name), runs it and answers true when a file was chosen
// and, if asked, the overwrite question let it pass. The chosen path is left in dialog.FileName and its
// folder in dialog.InitialDir.
bool RunSaveDialog(const Services& services, FileDialogRequest& dialog, const std::string& name,
                   bool checkOverwrite);
// Runs an open dialog; on success the chosen path is left in dialog.FileName and its folder in
// dialog.InitialDir.
bool RunOpenDialog(const Services& services, FileDialogRequest& dialog);
