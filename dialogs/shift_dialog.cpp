// "Shift design".
#include "dialogs/shift_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr Real FineShift = 1;
constexpr Real CoarseShift = 5;
} // namespace

TForm13::TForm13(DesignHost& host) : TPreviewForm(host, "Form13", "Shift design") {
    Label1 = new QLabel("Design up", this);
    Label2 = new QLabel("Design down", this);
    UpDown1 = new UpDown(this);
    UpDown2 = new UpDown(this);
    UpDown1->setObjectName("UpDown1");
    UpDown2->setObjectName("UpDown2");
    UpDown1->setToolTip("Change in steps of 1");
    UpDown2->setToolTip("Change in steps of 5");
    QGridLayout* controls = StepControlsLayout(Label1, Label2, UpDown1, UpDown2);
    Complete(controls);
    connect(UpDown1, &UpDown::Clicked, this, [this](UpDown::Arrow a) { Shift(SignedStep(FineShift, a)); });
    connect(UpDown2, &UpDown::Clicked, this, [this](UpDown::Arrow a) { Shift(SignedStep(CoarseShift, a)); });
}

void TForm13::FormActivate() {
    BitBtn1->setFocus();
}

// Sloped planes move by distance along the axis; girdle facets and planes through the origin stay.
void TForm13::Shift(Real distance) {
    Step([distance](TGem& design) { return design.ShiftAlongAxis(distance); });
}
