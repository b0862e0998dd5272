// What the small dialogs share in look and behaviour: the bold Arial font of the dialogs, their place on
// the screen (the bottom right corner or the middle), Enter pressing only the focused button, and lists that
// act when the user chooses an item.
#pragma once

#include <functional>

class QDialog;
class QLayout;
class QListWidget;
class QPushButton;
class QObject;
class QWidget;
class WindowServices;

// The dialogs' font: Arial, bold, 13 pixels.
void UseDialogFont(QWidget& dialog);

// Names the dialog, gives it its caption and the dialogs' font, and makes it modal.
void SetUpDialog(QDialog& dialog, const char* objectName, const char* caption);

// Puts the dialog in the middle of the primary screen.
void CentreOnScreen(QDialog& dialog);

// Puts the whole window of the dialog, frame and title bar included, in the bottom right corner of the
// screen. Call it once the dialog has its size. The frame's size is known only when the window manager
// first frames the window, so the dialog is placed once more then.
void PlaceAtBottomRight(QDialog& dialog, WindowServices& screen);

// The row of buttons under a dialog's controls: OK and Cancel at the right, and a further button
// (such as Clear) at the left.
struct ButtonRow {
    QPushButton* Ok;
    QPushButton* Cancel;
    QPushButton* Left = nullptr;
};

// Lays the controls out above the row of buttons (no button answers Enter unless the dialog makes one
// its default), fixes the dialog's size and places it in the bottom right corner.
void CompleteDialog(QDialog& dialog, QLayout* controls, const ButtonRow& row, WindowServices& screen);
// The same for a dialog in the middle of the screen whose buttons answer Enter as Qt's do: the focused
// button presses itself, and Enter in a field presses the dialog's default button.
void CompleteCentredDialog(QDialog& dialog, QLayout* controls, const ButtonRow& row);

// Makes Enter press the button that has the focus, and nothing else: no button of the dialog is pressed
// by Enter in a field. Call it once the dialog's buttons are made.
void PressFocusedButtonOnEnter(QDialog& dialog);

// Runs chosen, in receiver's context, when the user chooses an item of the list: by the mouse once the
// click is complete, or by the keyboard. The list taking the focus chooses nothing, and the program's
// own changes of the list must be made with its signals blocked.
void OnListChoice(QListWidget* list, QObject* receiver, const std::function<void()>& chosen);
