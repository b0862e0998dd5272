// "Text editor": the design's free text lines 1 ... 19 (line 10, the file name, shown but not editable),
// its cut name and its author name. No line may grow wider than the sheet shows its text lines.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm7 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm7(DesignHost& host);

    static constexpr int FreeLineCount = 19;
    std::array<QLineEdit*, FreeLineCount + 1> Lines{}; // Lines[k]: Edit<k>, text line k (1 ... 19)
    std::array<QLabel*, FreeLineCount + 1> Labels{};
    QLineEdit* Edit20;    // cut name, text line 20
    QLineEdit* Edit21;    // author name, text line 21
    QLabel* Label20;      // "&Cutname"
    QLabel* Label21;      // "&Authorname"
    QPushButton* BitBtn1; // "O&K"
    QPushButton* BitBtn2; // "Cance&l"

    // A field was changed by the user since the dialog opened.
    bool TextChanged = false;

    void FormActivate();
    void EditChange(QLineEdit* edit);
    void BitBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void LayOut();
    // The last line to load: the highest of 11 ... 19 that is not blank, else 10.
    int LastLineToLoad() const;
    int TextWidth(const QString& text) const;
    DesignHost& Host;
};
