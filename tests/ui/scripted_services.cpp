#include "tests/ui/scripted_services.h"

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
