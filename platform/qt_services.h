// The desktop services on Qt: message boxes, file dialogs, QSettings, screen, cursor, progress bar.
#pragma once

#include "gem/progress.h"
#include "services/services.h"

class QProgressBar;
class QWidget;

class QtMessageService final : public MessageService {
  public:
    void Beep() override;
    void ShowError(const std::string& text) override;
    Answer Confirm(const std::string& text) override;
};

class QtFileDialogService final : public FileDialogService {
  public:
    std::optional<std::string> OpenFile(const FileDialogRequest& dialog) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& dialog) override;
};

// QSettings of the organisation and application "Lapidrastor": sections become INI groups.
class QtSettingsStore final : public SettingsStore {
  public:
    // Looks at the store once: a damaged or unreadable file is not read from at all.
    QtSettingsStore();
    std::string ReadString(const std::string& section, const std::string& name,
                           const std::string& fallback) override;
    void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
    std::string Problem() override { return Trouble; }

  private:
    std::string Trouble;
    bool Readable = true;
};

class QtWindowServices final : public WindowServices {
  public:
    int ScreenWidth() override;
    int ScreenHeight() override;
    void SetCursorPos(int x, int y) override;
    void ProcessPendingEvents() override;
    void EndApplication() override;
};

// The model's progress callback shown on a progress bar. The model does not process events during a
// recompute, so every change repaints the bar at once.
class QtProgressSink final : public ProgressSink {
  public:
    explicit QtProgressSink(QProgressBar& bar) : Bar(bar) {}
    void Show(int maximum, int position, int step) override;
    void Step() override;
    void Hide() override;

  private:
    QProgressBar& Bar;
    int StepSize = 1;
};

// The filter line of a Qt file dialog: the description, followed by the pattern in brackets unless the
// description already ends with it.
std::string QtFilterText(const FileDialogRequest& dialog);
