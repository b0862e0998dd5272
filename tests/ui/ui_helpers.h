// Helpers of the window tests: a window on scripted services, mouse events on the sheet, modal driving.
#pragma once

#include "app/unit1.h"
#include "tests/ui/scripted_services.h"

#include <QDialog>
#include <functional>
#include <memory>

// The main window built on a scripted double, as the program builds it on the real services.
struct WindowFixture {
    ScriptedServices Script;
    std::unique_ptr<Tstartform> Window;
    explicit WindowFixture(const std::string& commandLineFile = "");
};

// Mouse events delivered straight to the client area (client pixel coordinates).
void MoveMouse(Tstartform& window, QPoint at);
void PressMouse(Tstartform& window, QPoint at, Qt::MouseButton button,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void PressKey(Tstartform& window, int key);

// Runs action (which opens a modal dialog) while drive works on the dialog once it is shown; the
// dialog is rejected afterwards if drive left it open.
void WhileModal(const std::function<void()>& action, const std::function<void(QDialog&)>& drive);

// A test-only click requester: every time it is shown it takes the click as a picking dialog would
// (left button only, when ClickKind is set) and closes itself again.
class TestRequester : public QDialog {
    Q_OBJECT
  public:
    explicit TestRequester(Tstartform& owner);
    int Shown = 0;
    int Picks = 0;
    QPoint PickedAt;
    bool PickedWithCtrl = false, PickedWithShift = false;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Tstartform& Owner;
};
