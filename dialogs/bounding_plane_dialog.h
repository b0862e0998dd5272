// TBoundingPlaneForm: moves the horizontal bounding plane (the table of a crown, the bottom plane of a
// pavilion) by steps of 0.1 and 1, or to the height of a point clicked on the stone. "Height" is the
// plane's distance from the girdle plane; a step that would bring it to 5 or below is refused.
#pragma once

#include "dialogs/preview_dialog.h"
#include "gem/vector3.h"

class QLabel;
class QLineEdit;
class UpDown;

// What tells the table and the culet dialog apart.
struct BoundingPlaneSetup {
    const char* ObjectName;
    const char* Caption;
    const char* UpLabel;
    const char* DownLabel;
    const char* HeightLabel;
    const char* InitialHeight;
    Real ClickSign; // the height of a clicked point at z: ClickSign * z
    bool Culet;     // the culet dialog: edge button first, focus on it, steps only with a culet
};

class TBoundingPlaneForm : public TPreviewForm {
    Q_OBJECT
  public:
    QLabel* Label1;       // up
    QLabel* Label2;       // down
    UpDown* UpDown1;      // steps of 0.1
    UpDown* UpDown2;      // steps of 1
    QLabel* Label3;       // "... height"
    QLineEdit* Edit1;     // the height, disabled
    QPushButton* Button1; // "Click on &point"
    QPushButton* Button2; // "Click on &edge"

    Vector3 PickedPoint; // the point of the last click

    void FormActivate() override;
    void StepHeight(Real step);
    void Button1Click();
    void Button2Click();

  protected:
    TBoundingPlaneForm(DesignHost& host, const BoundingPlaneSetup& setup);

  private:
    void ShowHeight();
    void ConsumeClick();
    void EnableSteps();
    const BoundingPlaneSetup Setup;
};
