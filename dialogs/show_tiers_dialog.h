// "Show tiers": steps through the tiers of the design while the main window fills the facets of the
// tier shown.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TForm17 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm17(DesignHost& host);

    // ---- Controls ----
    QLabel* Label1;   // "Tier"
    QLineEdit* Edit1; // the tier's name, disabled
    QWidget* UpDown1; // the up-down control: its two arrows
    QToolButton *NextArrow, *PrevArrow;
    QLabel *Label2, *Label3; // "Next tier", "Prev. tier"
    QPushButton* Button1;    // "O&K"

    // ---- Dialog state ----
    int CurrentTier = 1; // the tier shown, counted from the first tier of cut facets

    // ---- Handlers ----
    void FormActivate();
    void UpDown1Click(bool next);
    void Button1Click();
    // Esc and the title bar's close end the highlight as "O&K" does.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowTier();
    // Closes the dialog and ends the highlight of the tier.
    void Close(int result);
    DesignHost& Host;
};
