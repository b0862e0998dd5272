#include "dialogs/dialog_frame.h"

#include "platform/services.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int FontPixels = 13;
} // namespace

void SetUpDialog(QDialog& dialog, const char* objectName, const char* caption) {
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(caption);
    dialog.setModal(true);
    QFont font("Arial");
    font.setPixelSize(FontPixels);
    font.setBold(true);
    dialog.setFont(font);
}

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
