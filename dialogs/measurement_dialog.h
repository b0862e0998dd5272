// "Measurement": measures the girdle by clicks on the stone. A click on a girdle edge gives the distance
// between opposite girdle edges and the edge's length (Dcf, Lcf), a click on a girdle corner the distance
// between opposite corners (CCD). Each measurement is logged into the design's message lines; OK keeps
// them as one undo step, Cancel drops them.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TForm16 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm16(DesignHost& host);

    QFrame* Panel1;
    QLabel* Label1;       // "Distance and length of corner facets"
    QLabel* Label2;       // "Distance between corner points"
    QPushButton* Button2; // dcf: asks for a click on a girdle edge
    QPushButton* Button1; // ccd: asks for a click on a girdle corner; only for an even number of parts
    QPushButton* Button3; // "Clea&r"
    QPushButton* BitBtn1; // "O&K"
    QPushButton* BitBtn2; // "Cance&l"

    // The dialog switched the window's girdle outline off when it opened.
    bool OutlineWasHidden = false;

    void FormActivate();
    void Button2Click();
    void Button1Click();
    void Button3Click();
    void BitBtn1Click();
    void BitBtn2Click();

    // Esc and the title bar's close act as "Cance&l".
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ConsumeClick();
    void MeasureEdge(const SheetClick& click);
    void MeasureCorner(const SheetClick& click);
    void Refuse(const std::string& message);
    void ShowOutlineAgain();
    DesignHost& Host;
    bool Cancelling = false;
};
