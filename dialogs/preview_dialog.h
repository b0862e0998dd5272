// TPreviewForm: a dialog that changes the whole design while it is open. Every step goes to the design
// at once through the host's preview; "O&K" keeps what the steps did as one undo step, and "Cance&l"
// (Escape, the close button) puts the design back as it was when the dialog opened.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>

class QLayout;
class QPushButton;

class TPreviewForm : public QDialog {
    Q_OBJECT
  public:
    QPushButton* BitBtn1; // "O&K"
    QPushButton* BitBtn2; // "Cance&l"

    void BitBtn1Click();
    void BitBtn2Click();
    void reject() override;
    // Runs on every activation: when the dialog is shown, and when it comes back after a click.
    virtual void FormActivate() = 0;

  protected:
    TPreviewForm(DesignHost& host, const QString& objectName, const QString& caption);
    // Lays the controls out above the button row, fixes the size and places the dialog.
    void Complete(QLayout* controls);
    // One step of the preview; false when it changed nothing.
    bool Step(const DesignChange& change) { return Host.Preview(change); }
    TGem& Design() const { return Host.Design(); }
    void showEvent(QShowEvent* event) override;

    DesignHost& Host;

  private:
    bool Cancelling = false; // the host's cancel closes the dialog through reject() once more
};
