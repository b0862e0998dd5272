// "Define New Gem": the dialog that starts a new design from system index, parts, mirror, offset and type.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class DesignHost;
class RadioGroup;

class TForm6 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm6(DesignHost& host);

    // Fills the fields as the New commands preset them.
    void Preset(const QString& systemIndex, const QString& parts, const QString& offset, bool mirror);

    RadioGroup* RadioGroup1; // "&Mirror symmetry": "&Yes", "&No"
    RadioGroup* RadioGroup2; // "&Type": "&Crown", "&Pavilion"
    QLineEdit* Edit1;        // system index
    QLineEdit* Edit2;        // identical parts
    QLineEdit* Edit3;        // offset index
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* button1; // "O&K"
    QPushButton* button2; // "Cance&l"

  public slots:
    void Button1Click();
    void Button2Click();

  private:
    DesignHost& Host;
};
