// Scaling the whole design by a factor changed in small steps.
#include "dialogs/scale_dialog.h"

#include "gem/numtext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {
constexpr int FineTag = 1;
constexpr int CoarseTag = 10;
constexpr Real TagsPerUnit = 100; // a control steps by its Tag in hundredths
} // namespace

TScaleForm::TScaleForm(DesignHost& host, const ScaleSetup& setup)
    : TPreviewForm(host, setup.ObjectName, setup.Caption) {
    Label1 = new QLabel(setup.UpLabel, this);
    Label2 = new QLabel(setup.DownLabel, this);
    UpDown1 = new UpDown(this);
    UpDown2 = new UpDown(this);
    Label3 = new QLabel(setup.FactorLabel, this);
    Edit1 = new QLineEdit("??", this);
    Edit1->setEnabled(false);
    UpDown1->setObjectName("UpDown1");
    UpDown2->setObjectName("UpDown2");
    Edit1->setObjectName("Edit1");
    UpDown1->SetTag(FineTag);
    UpDown2->SetTag(CoarseTag);
    UpDown1->setToolTip(setup.FineHint);
    UpDown2->setToolTip(setup.CoarseHint);
    if (setup.CancelIsDefault) BitBtn2->setDefault(true);

    QGridLayout* controls = StepControlsLayout(Label1, Label2, UpDown1, UpDown2);
    controls->addWidget(Label3, 2, 0);
    controls->addWidget(Edit1, 2, 1);
    Complete(controls);
    for (UpDown* control : {UpDown1, UpDown2})
        connect(control, &UpDown::Clicked, this,
                [this, control](UpDown::Arrow a) { UpDownClick(*control, a); });
}

Real TScaleForm::NextFactor(Real shown, Real step) {
    return std::max(shown + step, std::fabs(step));
}

void TScaleForm::ShowFactor() {
    Edit1->setText(QString::fromStdString(fixed(ShownFactor, 6, 2)));
}

void TScaleForm::FormActivate() {
    AppliedFactor = ShownFactor = 1;
    ShowFactor();
    BitBtn1->setFocus();
}

void TScaleForm::UpDownClick(const UpDown& control, UpDown::Arrow arrow) {
    const Real factor = NextFactor(ShownFactor, SignedStep(control.Tag() / TagsPerUnit, arrow));
    const Real ratio = factor / AppliedFactor;
    // A step the design refuses (or that fails) leaves the factors as the design is.
    if (Step([this, ratio](TGem& design) { return Scale(design, ratio); }))
        AppliedFactor = ShownFactor = factor;
    ShowFactor();
}
