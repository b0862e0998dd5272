#include "tests/ui/scripted_services.h"

#include <stdexcept>

std::vector<std::string> ScriptedServices::Texts() const {
    std::vector<std::string> texts;
    for (const auto& shown : Messages)
        texts.push_back(shown.Text);
    return texts;
}

void ScriptedServices::ClearRecord() {
    Messages.clear();
    Dialogs.clear();
    CursorMoves.clear();
    Beeps = EventRuns = Ends = UnscriptedQuestions = UnscriptedFileDialogs = 0;
}

Answer ScriptedServices::Confirm(const std::string& text) {
    Messages.push_back({Kind::Question, text});
    if (Answers.empty()) {
        ++UnscriptedQuestions;
        return Answer::Cancel;
    }
    const Answer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedServices::NextFile(const FileDialogRequest& dialog) {
    Dialogs.push_back(dialog);
    if (FileAnswers.empty()) {
        ++UnscriptedFileDialogs;
        return std::nullopt;
    }
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

std::string ScriptedServices::ReadString(const std::string& section, const std::string& name,
                                         const std::string& fallback) {
    const auto found = Settings.find({section, name});
    return found == Settings.end() ? fallback : found->second;
}

ScriptedPrinter::ScriptedPrinter() {
    SetPaper(A4At600Dpi());
}

PageMetrics ScriptedPrinter::A4At600Dpi() {
    PageMetrics page;
    page.WidthMm = 200;
    page.HeightMm = 287;
    page.WidthPx = 4724;
    page.HeightPx = 6780;
    page.PhysOffsetX = page.PhysOffsetY = 118;
    return page;
}

void ScriptedPrinter::SetPaper(const PageMetrics& page) {
    Paper = RecordingSurface(page.WidthPx, page.HeightPx);
    Paper.PageInfo = page;
    Jammed = JammedPaper(page.WidthPx, page.HeightPx);
    Jammed.PageInfo = page;
}

void JammedPaper::LineTo(int, int) {
    throw std::runtime_error("The paper jammed");
}

bool ScriptedPrinter::SetUp() {
    ++SetUps;
    bool accepted = false;
    if (!SetUpAnswers.empty()) {
        accepted = SetUpAnswers.front();
        SetUpAnswers.pop_front();
    }
    return accepted && (!Device || Device->SetUp());
}

void ScriptedPrinter::SetPortrait() {
    ++Portraits;
    if (Device) Device->SetPortrait();
}

DrawSurface& ScriptedPrinter::Page() {
    if (Device) return Device->Page();
    return Jams ? static_cast<DrawSurface&>(Jammed) : Paper;
}

bool ScriptedPrinter::BeginJob() {
    if (BeginFails || (Device && !Device->BeginJob())) return false;
    ++JobsBegun;
    JobOpen = true;
    if (!Device) Paper.Clear();
    return true;
}

bool ScriptedPrinter::EndJob() {
    ++JobsEnded;
    JobOpen = false;
    return !Device || Device->EndJob();
}

int ScriptedPrinter::OpenText() {
    ++TextOpens;
    if (OpenTextError) return OpenTextError;
    return Device ? Device->OpenText() : 0;
}

void ScriptedPrinter::WriteText(const std::string& text) {
    Text += text;
    if (Device) Device->WriteText(text);
}

int ScriptedPrinter::CloseText() {
    ++TextCloses;
    return Device ? Device->CloseText() : 0;
}
