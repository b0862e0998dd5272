// A scripted stand-in for the desktop services: answers questions and file dialogs from queues and
// records every message, beep, dialog, cursor move and settings value, so window tests run headless.
#pragma once

#include "platform/services.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

    ScriptedServices() : Bundle{*this, *this, *this, *this} {}
    const Services& All() const { return Bundle; }

    // ---- Script ----
    std::deque<Answer> Answers;                                          // next answers to Confirm
    std::deque<std::optional<std::string>> FileAnswers;                  // next answers to file dialogs
    std::map<std::pair<std::string, std::string>, std::string> Settings; // (section, name) -> value
    int Width = 1024, Height = 768;
    std::string SettingsProblem; // what the settings store reports as keeping it from working

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
