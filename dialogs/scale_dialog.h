// TScaleForm: scales the whole design by a factor that the up-down controls change in steps of 0.01
// and 0.1. The factor starts at 1 on every activation, so it is always relative to the design as it
// was when the dialog opened; each step scales the design by the new factor over the one applied.
#pragma once

#include "dialogs/preview_dialog.h"
#include "dialogs/updown.h"

class QLabel;
class QLineEdit;

// What tells the resize and the stretch dialog apart.
struct ScaleSetup {
    const char* ObjectName;
    const char* Caption;
    const char* UpLabel;
    const char* DownLabel;
    const char* FineHint;
    const char* CoarseHint;
    const char* FactorLabel;
    bool CancelIsDefault; // Enter answers "Cance&l" instead of nothing
};

class TScaleForm : public TPreviewForm {
    Q_OBJECT
  public:
    QLabel* Label1;   // up
    QLabel* Label2;   // down
    UpDown* UpDown1;  // Tag 1: steps of 0.01
    UpDown* UpDown2;  // Tag 10: steps of 0.1
    QLabel* Label3;   // "... factor"
    QLineEdit* Edit1; // the factor, disabled

    Real AppliedFactor = 1; // the factor the design has been scaled by since the activation
    Real ShownFactor = 1;

    void FormActivate() override;
    void UpDownClick(const UpDown& control, UpDown::Arrow arrow);

    // The factor after a step from shown; never below the step's size.
    static Real NextFactor(Real shown, Real step);

  protected:
    TScaleForm(DesignHost& host, const ScaleSetup& setup);
    // Scales the design by ratio; false when the design refuses it.
    virtual bool Scale(TGem& design, Real ratio) const = 0;

  private:
    void ShowFactor();
};
