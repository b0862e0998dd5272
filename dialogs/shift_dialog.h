// "Shift design": moves the stone along its axis, relative to the girdle plane, in steps of 1 and 5.
#pragma once

#include "dialogs/preview_dialog.h"
#include "dialogs/updown.h"

class QLabel;

class TForm13 : public TPreviewForm {
    Q_OBJECT
  public:
    explicit TForm13(DesignHost& host);

    QLabel* Label1;  // "Design up"
    QLabel* Label2;  // "Design down"
    UpDown* UpDown1; // steps of 1
    UpDown* UpDown2; // steps of 5

    void FormActivate() override;
    void Shift(Real distance);
};
