// The dialogs' font and their place on the screen.
#include "dialogs/dialog_frame.h"

#include "platform/services.h"

#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int FontPixels = 13;
} // namespace

void SetDialogFont(QWidget& dialog) {
    QFont font("Arial");
    font.setPixelSize(FontPixels);
    font.setBold(true);
    dialog.setFont(font);
}

void CompleteDialog(QDialog& dialog, QLayout* controls, QPushButton* ok, QPushButton* cancel,
                    WindowServices& window) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(controls);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog.adjustSize();
    new BottomRightPlacement(dialog, window);
}

BottomRightPlacement::BottomRightPlacement(QWidget& dialog, WindowServices& window)
    : QObject(&dialog), Dialog(dialog), Window(window) {
    Place();
    dialog.installEventFilter(this);
}

void BottomRightPlacement::Place() {
    const QSize outer = Dialog.frameGeometry().size();
    Dialog.move(Window.ScreenWidth() - outer.width(), Window.ScreenHeight() - outer.height());
}

bool BottomRightPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (Pending && watched == &Dialog && event->type() == QEvent::Move &&
        Dialog.frameGeometry().size() != Dialog.size()) {
        Pending = false;
        Place();
    }
    return QObject::eventFilter(watched, event);
}
