// "Change angles": changes the cut angles of the whole design so that one of them becomes a new angle,
// the tangent of every angle scaled by the same factor.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TForm18 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm18(DesignHost& host);

    // ---- Controls ----
    QLabel *Label1, *Label2;        // "Old angle", "&New angle"
    QLineEdit *Edit1, *Edit2;       // old and new angle
    QLabel *Label3, *Label4;        // "&Available ", "angles"
    QListWidget* ListBox1;          // the angles of the tiers
    QPushButton *Button1, *Button2; // "O&K", "Cance&l"

    // ---- Handlers ----
    void FormActivate();
    void ListBox1Click();
    void Button1Click();
    void Button2Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FillAngleList();
    // The angle in the field when it is a number strictly between 0 and 90; else the error is shown.
    std::optional<Real> ReadAngle(QLineEdit* field, const std::string& notANumber);
    DesignHost& Host;
};
