#include "editing/change_runner.h"

#include <exception>
#include <memory>

ChangeRunner::ChangeRunner(ChangeView& view, MessageService& messages, WindowServices& window)
    : View(view), Messages(messages), Window(window) {}

bool ChangeRunner::Run(const DesignChange& change) {
    TGem& design = View.Design();
    const std::unique_ptr<TGem> before = design.Backup();
    const UndoHistory::Counters stepsBefore = DesignHistory.Backup();
    try {
        return change(design);
    } catch (const std::exception& error) {
        design.Restore(*before);
        DesignHistory.Restore(stepsBefore);
        Report(error.what());
        View.Repaint();
        return false;
    }
}

void ChangeRunner::ShowChanged() {
    View.Repaint();
    View.RefreshMenus();
}

bool ChangeRunner::Apply(const DesignChange& change) {
    if (!Run(change)) return false;
    RecordStep();
    ShowChanged();
    return true;
}

bool ChangeRunner::Preview(const DesignChange& change) {
    if (!Run(change)) return false;
    ShowChanged();
    return true;
}

bool ChangeRunner::Commit(const DesignChange& change) {
    if (change && !Run(change)) return false;
    // A snapshot that could not be written is not read back: that would undo the change just made.
    if (RecordStep()) ReadReported(DesignHistory.Reload(View.Design()));
    ShowChanged();
    return true;
}

bool ChangeRunner::Revert() {
    // With no snapshot yet there is nothing to go back to, and nothing is reported.
    const bool readBack = ReadReported(DesignHistory.Reload(View.Design()));
    ShowChanged();
    return readBack;
}

void ChangeRunner::Refresh() {
    ShowChanged();
}

void ChangeRunner::Undo() {
    ReadReported(DesignHistory.Undo(View.Design()));
    View.ShowStep(DesignHistory.ChangedSuffix());
    ShowChanged();
}

void ChangeRunner::Redo() {
    ReadReported(DesignHistory.Redo(View.Design()));
    View.ShowStep(DesignHistory.ChangedSuffix());
    ShowChanged();
}

bool ChangeRunner::Open(const std::string& path) {
    if (!OpenReported(path)) return false;
    RecordStep();
    ShowChanged();
    return true;
}

ChangeRunner::Saved ChangeRunner::Save(const std::string& path, const std::string& shortName) {
    TGem& design = View.Design();
    if (const FileResult written = design.WriteDesign(path, TGem::FileMode::Save, shortName); !written) {
        ReportFileFailure(written);
        return Saved::No;
    }
    DesignHistory.StartNew(); // the file written is the design now, whether or not it reads back
    const bool readBack = ReadReported(design.ReadDesign(path, TGem::FileMode::Open));
    RecordStep();
    ShowChanged();
    return readBack ? Saved::Yes : Saved::ButNotReadBack;
}

bool ChangeRunner::EnsureStep() {
    return DesignHistory.Current() >= 0 || RecordStep();
}

bool ChangeRunner::RecordStep() {
    TGem& design = View.Design();
    // A temporary folder that cannot be written fails every step alike: it is shown once.
    const FileResult recorded = DesignHistory.Record(design);
    if (recorded) SnapshotFailureShown.clear();
    if (!recorded && recorded.Error().Message != SnapshotFailureShown) {
        SnapshotFailureShown = recorded.Error().Message;
        ReportFileFailure(recorded);
    }
    View.ShowStep(DesignHistory.ChangedSuffix());
    Window.ProcessPendingEvents();
    View.ShowUndoRedo();
    return recorded.Done();
}

bool ChangeRunner::ReadReported(const FileResult& read) {
    ReportFileFailure(read);
    return read.Done();
}

// A design file read as a new design, with a new undo history.
bool ChangeRunner::OpenReported(const std::string& path) {
    if (!ReadReported(View.Design().ReadDesign(path, TGem::FileMode::Open))) return false;
    DesignHistory.StartNew();
    return true;
}

void ChangeRunner::Report(const std::string& message) {
    Messages.Beep();
    Messages.ShowError(message);
}

void ChangeRunner::ReportFileFailure(const FileResult& result) {
    if (!result.Error().Empty()) Report(FileFailureText(result.Error()));
}
