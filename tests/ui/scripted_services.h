// A scripted stand-in for the desktop services: answers questions and file dialogs from queues and
// records every message, beep, dialog, cursor move and settings value, so window tests run headless.
#pragma once

#include "services/services.h"
#include "sheet/recording_surface.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A page on which the first line drawn fails, as a printer that jams.
class JammedPaper final : public RecordingSurface {
  public:
    using RecordingSurface::RecordingSurface;
    void LineTo(int x, int y) override;
};

// A printer whose set-up dialog is answered from a queue. Pages are drawn on a recording surface of a
// fixed page (or on a real printer, when Device is set) and text is kept.
class ScriptedPrinter final : public PrinterService {
  public:
    ScriptedPrinter();

    // ---- Script ----
    std::deque<bool> SetUpAnswers;    // next answers of the set-up dialog; none queued: cancelled
    PrinterService* Device = nullptr; // a real printer behind the double
    bool BeginFails = false;          // the job cannot be begun
    bool Jams = false;                // drawing on the page fails (Jammed is the page)
    int OpenTextError = 0;            // answered by OpenText
    // A printable area of 200 x 287 mm at 600 dpi (A4 with 5 mm margins).
    static PageMetrics A4At600Dpi();
    void SetPaper(const PageMetrics& page);

    // ---- Record ----
    RecordingSurface Paper{1, 1};
    JammedPaper Jammed{1, 1};
    int SetUps = 0, Portraits = 0, JobsBegun = 0, JobsEnded = 0;
    bool JobOpen = false;
    std::string Text; // all text written
    int TextOpens = 0, TextCloses = 0;

    bool SetUp() override;
    void SetPortrait() override;
    DrawSurface& Page() override;
    bool BeginJob() override;
    bool EndJob() override;
    int OpenText() override;
    void WriteText(const std::string& text) override;
    int CloseText() override;
};

class ScriptedServices final : public MessageService,
                               public FileDialogService,
                               public SettingsStore,
                               public WindowServices {
  public:
    enum class Kind { Error, Question };
    struct Shown {
        Kind BoxKind;
        std::string Text;
    };

    ScriptedServices() : Bundle{*this, *this, *this, *this, Printer} {}
    const Services& All() const { return Bundle; }

    // ---- Script ----
    std::deque<Answer> Answers;                                          // next answers to Confirm
    std::deque<std::optional<std::string>> FileAnswers;                  // next answers to file dialogs
    std::map<std::pair<std::string, std::string>, std::string> Settings; // (section, name) -> value
    int Width = 1024, Height = 768;
    std::string SettingsProblem; // what the settings store reports as keeping it from working
    ScriptedPrinter Printer;

    // ---- Record ----
    std::vector<Shown> Messages;
    std::vector<FileDialogRequest> Dialogs;
    std::vector<std::pair<int, int>> CursorMoves;
    int Beeps = 0;
    int EventRuns = 0;
    int Ends = 0;
    int UnscriptedQuestions = 0;   // questions asked with no answer queued (answered Cancel)
    int UnscriptedFileDialogs = 0; // file dialogs run with no answer queued (answered cancelled)

    // The texts shown so far, and forgetting them.
    std::vector<std::string> Texts() const;
    void ClearRecord();

    // ---- The services ----
    void Beep() override { ++Beeps; }
    void ShowError(const std::string& text) override { Messages.push_back({Kind::Error, text}); }
    Answer Confirm(const std::string& text) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& dialog) override { return NextFile(dialog); }
    std::optional<std::string> SaveFile(const FileDialogRequest& dialog) override { return NextFile(dialog); }
    std::string ReadString(const std::string& section, const std::string& name,
                           const std::string& fallback) override;
    void WriteString(const std::string& section, const std::string& name, const std::string& value) override {
        Settings[{section, name}] = value;
    }
    std::string Problem() override { return SettingsProblem; }
    int ScreenWidth() override { return Width; }
    int ScreenHeight() override { return Height; }
    void SetCursorPos(int x, int y) override { CursorMoves.emplace_back(x, y); }
    void ProcessPendingEvents() override { ++EventRuns; }
    void EndApplication() override { ++Ends; }

  private:
    std::optional<std::string> NextFile(const FileDialogRequest& dialog);
    Services Bundle;
};
