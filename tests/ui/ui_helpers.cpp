#include "tests/ui/ui_helpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

WindowFixture::WindowFixture(const std::string& commandLineFile)
    : Window(std::make_unique<Tstartform>(Script.All(), commandLineFile)) {}

void UseDesign(Tstartform& window, std::unique_ptr<TGem> design) {
    design->Progress = window.Progress.get();
    window.TheDesign = std::move(design);
    window.Changes().RecordStep();
    window.RefreshMenus();
    window.show();
}

void MoveMouse(Tstartform& window, QPoint at) {
    QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(window.Client->mapToGlobal(at)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Client, &event);
}

void PressMouse(Tstartform& window, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), QPointF(window.Client->mapToGlobal(at)), button,
                      button, modifiers);
    QCoreApplication::sendEvent(window.Client, &event);
}

void PressKey(Tstartform& window, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Client, &event);
}

void WhileModal(const std::function<void()>& action, const std::function<void(QDialog&)>& drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        drive(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    action();
}

TestRequester::TestRequester(Tstartform& owner) : QDialog(&owner), Owner(owner) {}

void TestRequester::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ++Shown;
    if (const std::optional<SheetClick> click = Owner.TakeClick(*this)) {
        ++Picks;
        Picked = *click;
    }
    QTimer::singleShot(0, this, &QDialog::accept);
}
