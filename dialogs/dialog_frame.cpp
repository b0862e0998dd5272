#include "dialogs/dialog_frame.h"

#include "services/services.h"

#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int FontPixels = 13;

void MoveToCorner(QWidget& window, WindowServices& screen) {
    const QSize outer = window.frameGeometry().size();
    window.move(screen.ScreenWidth() - outer.width(), screen.ScreenHeight() - outer.height());
}

// Places the dialog again at its first move after the window manager has put a frame around it.
class CornerKeeper : public QObject {
  public:
    CornerKeeper(QDialog& dialog, WindowServices& screen)
        : QObject(&dialog), Dialog(dialog), Screen(screen) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &Dialog && event->type() == QEvent::Move &&
            Dialog.frameGeometry().size() != Dialog.size()) {
            Dialog.removeEventFilter(this);
            MoveToCorner(Dialog, Screen);
            deleteLater();
        }
        return false;
    }

  private:
    QDialog& Dialog;
    WindowServices& Screen;
};

// Enter that reaches the dialog (a field leaves it unhandled) presses the focused button, if any.
class EnterPressesFocusedButton : public QObject {
  public:
    explicit EnterPressesFocusedButton(QDialog& dialog) : QObject(&dialog), Dialog(dialog) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &Dialog || event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        if (auto* button = qobject_cast<QPushButton*>(Dialog.focusWidget())) button->click();
        return true;
    }

  private:
    QDialog& Dialog;
};
} // namespace

void UseDialogFont(QWidget& dialog) {
    QFont font("Arial");
    font.setPixelSize(FontPixels);
    font.setBold(true);
    dialog.setFont(font);
}

void SetUpDialog(QDialog& dialog, const char* objectName, const char* caption) {
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(caption);
    dialog.setModal(true);
    UseDialogFont(dialog);
}

void CentreOnScreen(QDialog& dialog) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
}

void PlaceAtBottomRight(QDialog& dialog, WindowServices& screen) {
    MoveToCorner(dialog, screen);
    dialog.installEventFilter(new CornerKeeper(dialog, screen));
}

void CompleteDialog(QDialog& dialog, QLayout* controls, QPushButton* ok, QPushButton* cancel,
                    WindowServices& screen) {
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
    PlaceAtBottomRight(dialog, screen);
}

void PressFocusedButtonOnEnter(QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    dialog.installEventFilter(new EnterPressesFocusedButton(dialog));
}

void OnListChoice(QListWidget* list, QObject* receiver, const std::function<void()>& chosen) {
    // A press selects at once: the choice waits for the click, which may end on another item.
    QObject::connect(list, &QListWidget::itemSelectionChanged, receiver, [list, chosen] {
        if (list->currentItem() && list->currentItem()->isSelected() &&
            QGuiApplication::mouseButtons() == Qt::NoButton)
            chosen();
    });
    QObject::connect(list, &QListWidget::itemClicked, receiver, [chosen](QListWidgetItem*) { chosen(); });
}
