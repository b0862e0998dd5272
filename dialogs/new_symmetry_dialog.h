// "New symmetry": the identical parts and the mirror symmetry of the next facet group. The stone
// itself does not change, and no undo step is recorded.
#pragma once

#include <QDialog>

class DesignHost;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

class TForm3 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm3(DesignHost& host);

    QLabel* Label1;          // "Old parts"
    QLineEdit* Edit1;        // the parts now, disabled
    QLabel* Label2;          // "&New parts"
    QLineEdit* Edit2;        // the new parts
    RadioGroup* RadioGroup1; // "&Mirror symmetry": "Yes", "No"
    QPushButton* Button1;    // "&Restore start values"
    QPushButton* BitBtn1;    // "O&K"
    QPushButton* BitBtn2;    // "Cance&l"

    void FormActivate();
    void Button1Click();
    void BitBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowSymmetry(int parts, bool mirror);
    DesignHost& Host;
};
