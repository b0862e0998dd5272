// Helpers of the window tests: a window on scripted services, mouse events on the sheet, modal driving.
#pragma once

#include "app/commands.h"
#include "app/main_window.h"
#include "tests/ui/scripted_services.h"

#include <QDialog>
#include <QTest>
#include <functional>
#include <memory>

// The main window built on a scripted double, as the program builds it on the real services.
struct WindowFixture {
    ScriptedServices Script;
    std::unique_ptr<Tstartform> Window;
    explicit WindowFixture(const std::string& commandLineFile = "");
};

// Makes a ready-made design the window's design, committed as its first step, and shows the window
// so that the sheet is laid out for its size.
void UseDesign(Tstartform& window, std::unique_ptr<TGem> design);

// Mouse events delivered straight to the client area (client pixel coordinates).
void MoveMouse(Tstartform& window, QPoint at);
void PressMouse(Tstartform& window, QPoint at, Qt::MouseButton button,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void PressKey(Tstartform& window, int key);

// The window waits for a click of this kind (the crosshair is about to start or runs).
inline bool AwaitsClick(const Tstartform& w, ClickKind kind) {
    return (w.CrosshairPending || w.WaitingForClick) && w.RequestedKind == kind;
}
// A click is asked for, awaited, or taken and not yet handed to its dialog.
inline bool ClickOutstanding(const Tstartform& w) {
    return w.CrosshairPending || w.WaitingForClick || w.TakenClick.has_value();
}

// Runs action (which opens a modal dialog) while drive works on the dialog once it is shown; the
// dialog is rejected afterwards if drive left it open.
void WhileModal(const std::function<void()>& action, const std::function<void(QDialog&)>& drive);

// Runs the menu command, which opens a modal dialog of type Form, and works in the dialog while it is
// shown.
template <class Form>
void InDialog(Tstartform& window, const char* command, const std::function<void(Form&)>& work) {
    WhileModal([&] { window.Action(command)->trigger(); },
               [&](QDialog& dialog) {
                   auto* form = dynamic_cast<Form*>(&dialog);
                   QVERIFY2(form, "another dialog is shown");
                   work(*form);
               });
}

// A test-only click requester: every time it is shown it takes the click as a picking dialog would
// and closes itself again.
class TestRequester : public QDialog {
    Q_OBJECT
  public:
    explicit TestRequester(Tstartform& owner);
    int Shown = 0;
    int Picks = 0;
    SheetClick Picked;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Tstartform& Owner;
};
