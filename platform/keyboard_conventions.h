// Keyboard conventions that every window and dialog of the program keeps.
#pragma once

#include <QObject>

class MessageService;

// An Alt+letter that no control answers (no underlined letter, no shortcut) beeps and never types the
// letter into the focused field. Installed on the application while it lives.
class KeyboardConventions : public QObject {
  public:
    explicit KeyboardConventions(MessageService& messages);
    ~KeyboardConventions() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MessageService& Messages;
};

// The sheet's key code of an arrow key (KeyLeft ... KeyDown), as the free rotation and the 3D view turn
// the stone by them; 0 for any other key.
int ArrowKeyCode(int qtKey);
