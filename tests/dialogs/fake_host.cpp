#include "tests/dialogs/fake_host.h"

#include <QDialog>
#include <exception>

FakeHost::FakeHost() {
    Gem->NewDesign('c', 8, 96, false, 0, true, true);
    PreformGem->NewDesign('c', 1, 96, false, 0, true, true);
}

FakeHost::~FakeHost() {
    DialogObjects.reset(); // the dialogs go before the parent they are shown over
}

bool FakeHost::ShowModal(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool FakeHost::Run(const DesignChange& change) {
    const std::unique_ptr<TGem> before = Gem->Backup();
    try {
        return change(*Gem);
    } catch (const std::exception& error) {
        Gem->Restore(*before);
        Script.Beep();
        Script.ShowError(error.what());
        return false;
    }
}

bool FakeHost::Apply(const DesignChange& change) {
    if (!Run(change)) return false;
    Gem->WriteDesign("", TGem::FileMode::Snapshot, "");
    ++Repaints;
    ++MenuRefreshes;
    return true;
}

bool FakeHost::Preview(const DesignChange& change) {
    if (!Run(change)) return false;
    ++Repaints;
    ++MenuRefreshes;
    return true;
}

bool FakeHost::Finish(QDialog& dialog, const DesignChange& change) {
    if (change && !Run(change)) return false;
    Gem->HideMarkers();
    if (Gem->WriteDesign("", TGem::FileMode::Snapshot, "")) Gem->ReadDesign("", TGem::FileMode::Reload);
    ++Finished;
    dialog.accept();
    ++Repaints;
    ++MenuRefreshes;
    return true;
}

void FakeHost::CancelPreview(QDialog& dialog) {
    Gem->ReadDesign("", TGem::FileMode::Reload);
    ++Cancelled;
    dialog.reject();
    ++Repaints;
}

void FakeHost::RequestClick(QDialog& requester, ClickKind kind, const std::string& prompt) {
    requester.done(QDialog::Rejected);
    Requests.push_back({&requester, kind, prompt});
}

std::optional<SheetClick> FakeHost::TakeClick(const QDialog& requester) {
    if (Requests.empty() || Requests.back().Requester != &requester || !NextClick) return std::nullopt;
    std::optional<SheetClick> click;
    click.swap(NextClick);
    click->Kind = Requests.back().Kind;
    return click;
}
