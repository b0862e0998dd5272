// The desktop services that the main window and the dialogs call, free of Qt so that tests can
// replace them with a scripted double. Texts and paths are UTF-8.
#pragma once

#include "services/printing.h"

#include <optional>
#include <string>

// The answer of a message box.
enum class Answer { Ok, Yes, No, Cancel };

// Modal message boxes and the beep that goes before them.
class MessageService {
  public:
    virtual ~MessageService() = default;
    virtual void Beep() = 0;
    // Error box with the single button OK.
    virtual void ShowError(const std::string& text) = 0;
    // Confirmation with the buttons Yes, No and Cancel; closing the box counts as Cancel.
    virtual Answer Confirm(const std::string& text) = 0;
};

// One file open or save dialog: what it is given and what it remembers between runs.
struct FileDialogRequest {
    std::string DefaultExt;        // without the point, appended when the user types none
    std::string FilterDescription; // shown to the user
    std::string Pattern;           // such as "*.lfx"
    std::string Title;             // empty: the platform's default title
    std::string InitialDir;        // folder the dialog opens in
    std::string FileName;          // preset file name; after a run, the chosen full path
};

// Modal file dialogs: the chosen full path, or nothing when the user cancelled.
class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& dialog) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& dialog) = 0;
};

// The per-user settings store: sections of string values kept across runs.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string ReadString(const std::string& section, const std::string& name,
                                   const std::string& fallback) = 0;
    virtual void WriteString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
    // What keeps the store from working (a damaged or unreadable file, a place that cannot be written),
    // in words for the user; empty when it works. The program runs on without the kept values.
    virtual std::string Problem() = 0;
};

// Services of the desktop around the window.
class WindowServices {
  public:
    virtual ~WindowServices() = default;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    // Moves the mouse cursor to a point in screen pixels.
    virtual void SetCursorPos(int x, int y) = 0;
    // Lets pending window events (such as a repaint) run now.
    virtual void ProcessPendingEvents() = 0;
    // Ends the application's event loop.
    virtual void EndApplication() = 0;
};

// All services, handed to the main window and from there to the dialogs.
struct Services {
    MessageService& Messages;
    FileDialogService& Files;
    SettingsStore& Settings;
    WindowServices& Window;
    PrinterService& Printer;
};
