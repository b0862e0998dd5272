#include "dialogs/design_host.h"

#include <QDialog>

bool DesignHost::Finish(QDialog& dialog, const DesignChange& change) {
    if (!Changes().Commit(change)) return false;
    dialog.accept();
    FocusWindow();
    return true;
}

void DesignHost::CancelPreview(QDialog& dialog) {
    Changes().Revert();
    dialog.reject();
}
