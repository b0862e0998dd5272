#include "tests/dialogs/fake_host.h"

#include <QDialog>
#include <exception>

FakeHost::FakeHost() {
    Gem->NewDesign('c', 8, 96, false, 0, true);
    PreformGem->NewDesign('c', 1, 96, false, 0, true);
}

FakeHost::~FakeHost() {
    DialogObjects.reset(); // the dialogs go before the parent they are shown over
}

bool FakeHost::ShowModal(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool FakeHost::Finish(QDialog& dialog, const DesignChange& change) {
    if (!DesignHost::Finish(dialog, change)) return false;
    ++Finished;
    return true;
}

void FakeHost::CancelPreview(QDialog& dialog) {
    DesignHost::CancelPreview(dialog);
    ++Cancelled;
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
