// What "Change facet group" and "delete facet group" share: one facet group of the design, picked by a
// click in one of its facets or by its cut angle and index, and highlighted on the sheet until the dialog
// acts on it or is cancelled.
#pragma once

#include "dialogs/design_host.h"
#include "gem/gem.h"

#include <QDialog>
#include <QStyle>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class FacetGroupPicker : public QDialog {
    Q_OBJECT
  public:
    // ---- Controls ----
    QLabel *Label1, *Label2;  // "&Angles", "&Indices"
    QLabel *Label3, *Label4;  // "Index", and the cut angle's label
    QListWidget* ListBox1;    // the cut angles of the tiers
    QListWidget* ListBox2;    // the shown indices of the facets at the chosen angle
    QLineEdit* Edit1;         // index of the chosen facet
    QLineEdit* Edit2;         // cut angle of the chosen facet
    QPushButton* ClickButton; // asks for a click in a facet
    QPushButton* BitBtn1;     // acts on the group; shown while a facet is found
    QPushButton* BitBtn2;     // "Cance&l"

    // ---- Dialog state ----
    int FoundFacet = -1; // the facet last found; -1 after a reset

    // ---- Handlers ----
    void FormActivate();
    void ListBox1Click(); // an angle chosen
    void ListBox2Click(); // an index chosen
    void ClickButtonClick();
    virtual void BitBtn1Click() = 0;
    virtual void BitBtn2Click();
    // Esc and the title bar's close act as "Cance&l".
    void reject() override;

  protected:
    // What tells the two dialogs apart in their controls.
    struct Look {
        const char* ObjectName;
        const char* Title;
        const char* AngleLabel;
        const char* ClickCaption;
        const char* CommitCaption;
        QStyle::StandardPixmap CommitGlyph;
        const char* AngleListHint; // nullptr: none
        bool EditsEnabled;         // false: the two fields only show the facet found
    };
    FacetGroupPicker(DesignHost& host, const Look& look);

    // After a reset, and after a click that found a facet (the group is highlighted and the commit
    // button shown by then).
    virtual void AfterReset() {}
    virtual void ShowClickedFacet(int f) = 0;

    void showEvent(QShowEvent* event) override;
    TGem& Design() const { return Host.Design(); }
    DesignHost& Host;

  private:
    void BuildControls(const Look& look);
    void LayOut();
    void Reset();
    void FillAngleList();
    void FillIndexList(Real angle);
    bool LookUpFacet();
    // Highlights the group of facet f; false when f is in no facet group.
    bool Highlight(int f);
    void ConsumeClick();
};
