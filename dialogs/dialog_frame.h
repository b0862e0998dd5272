// What the dialogs share in their frame: the font, and their place in the bottom right corner of the
// screen.
#pragma once

#include <QObject>

class QDialog;
class QLayout;
class QPushButton;
class QWidget;
class WindowServices;

// Arial bold, 13 pixels high.
void SetDialogFont(QWidget& dialog);

// Lays the controls out above a row of the OK and Cancel buttons, so that only a button made the
// default answers Enter, fixes the dialog's size and places it in the bottom right corner.
void CompleteDialog(QDialog& dialog, QLayout* controls, QPushButton* ok, QPushButton* cancel,
                    WindowServices& window);

// Puts the whole window, frame and title bar included, in the bottom right corner of the screen: at
// once, and once more when the window manager first frames it, since the frame's size is known only
// then. Made by the dialog after its size is settled, and owned by it.
class BottomRightPlacement : public QObject {
  public:
    BottomRightPlacement(QWidget& dialog, WindowServices& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Place();
    QWidget& Dialog;
    WindowServices& Window;
    bool Pending = true;
};
