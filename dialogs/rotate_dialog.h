// "Rotate  gem": turns the whole design about its axis by a number of index steps, clockwise or
// anti-clockwise; the turns add up until "O&K" or "Cance&l".
#pragma once

#include "dialogs/preview_dialog.h"

class QLabel;
class QLineEdit;

class TForm22 : public TPreviewForm {
    Q_OBJECT
  public:
    explicit TForm22(DesignHost& host);

    QLabel* Label1;       // "&Rotate gem over"
    QLineEdit* Edit1;     // the increment in index steps
    QLabel* Label2;       // "indices"
    QPushButton* Button1; // "&Clockwise"
    QPushButton* Button2; // "&Anti clockwise"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();

    // The increment brought into [0, indexCount): a negative one counts back from a whole turn.
    static int GearSteps(int increment, int indexCount);

  private:
    void Rotate(bool clockwise);
};
