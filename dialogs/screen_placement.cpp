#include "dialogs/screen_placement.h"

#include "platform/services.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

BottomRightPlacement::BottomRightPlacement(QDialog& dialog, WindowServices& screen)
    : QObject(&dialog), Dialog(dialog), Screen(screen) {
    Place();
    dialog.installEventFilter(this);
}

void BottomRightPlacement::Place() {
    const QSize outer = Dialog.frameGeometry().size();
    Dialog.move(Screen.ScreenWidth() - outer.width(), Screen.ScreenHeight() - outer.height());
}

bool BottomRightPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (Pending && watched == &Dialog && event->type() == QEvent::Move &&
        Dialog.frameGeometry().size() != Dialog.size()) {
        Pending = false;
        Place();
    }
    return false;
}

void CentreOnScreen(QDialog& dialog) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
}
