// What the program's dialogs share: their caption, modality and font, and where they go on the screen.
#pragma once

#include <QObject>

class QDialog;
class WindowServices;

// Keeps the whole window of a dialog, frame and title bar included, in the bottom right corner of the
// screen. The frame's size is known only once the window manager has framed the window, so the dialog
// is placed once more at its first move with a frame.
class BottomRightPlacement : public QObject {
  public:
    BottomRightPlacement(QDialog& dialog, WindowServices& screen);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Place();
    QDialog& Dialog;
    WindowServices& Screen;
    bool Pending = true;
};

// Names the dialog, gives it its caption and the dialogs' font (Arial, bold) and makes it modal.
void SetUpDialog(QDialog& dialog, const char* objectName, const char* caption);

// Puts the dialog in the middle of the primary screen.
void CentreOnScreen(QDialog& dialog);
