// "Add facets": cuts the stone one facet group at a time from typed or clicked input, and replaces an
// existing facet group in modify mode.
#pragma once

#include "dialogs/design_host.h"
#include "gem/cut_preview.h"
#include "gem/gem.h"

#include <QDialog>
#include <array>
#include <string>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RadioGroup;

class TForm14 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm14(DesignHost& host);

    // ---- Controls ----
    QGroupBox* GroupBox1;             // "facet data "
    QLabel *Label1, *Label2, *Label3; // "x", "Y", "Z"
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    std::array<std::array<QLineEdit*, 3>, 3> PointEdits; // [point][x, y, z]
    std::array<QPushButton*, 3> EdgeButtons;             // "&1 Click edge" ... "&3 Click edge"
    std::array<QPushButton*, 3> PointButtons;            // "&4 Click point" ... "&6 Click point"
    QPushButton* Button4;                                // "Click in &facet"
    QPushButton* Button6;                                // "Clea&r"
    QLabel* Label4;                                      // "Z-axis intercept"
    QLineEdit* Edit12;                                   // the intercept, disabled
    QLabel *Label5, *Label6, *Label7;                    // "Cut &angle", "&Index", "Cut dept&h"
    QLineEdit *Edit15, *Edit16, *Edit11;                 // angle, index, depth
    QLabel* Label8;                                      // "facet nr", hidden
    QLineEdit* Edit10;                                   // TargetFacet, hidden and disabled
    QPushButton* Button5;                                // "&Compute facet"
    QPushButton* BitBtn1;                                // "C&ut"
    QPushButton* Button7;                                // "Cance&l"
    RadioGroup* RadioGroup1;                             // "&Method selection"
    QFrame* Panel1;                                      // the set-selection panel
    QLabel* Label9;                                      // "Facet set selection panel"
    RadioGroup* RadioGroup2;                             // "Add or modif&y facets"
    RadioGroup* RadioGroup3;                             // "Facet selection meth&od"
    QLabel *Label10, *Label11;                           // "Inde&x", "An&gle"
    QComboBox *ComboBox1, *ComboBox2;                    // index and angle of the group to modify
    QPushButton* Button8;                                // "&Select"
    QLabel* WarningLabel;                                // what the planned cut would do wrong
    QTimer* PreviewTimer;                                // the live preview, a moment after the last key

    // ---- Dialog state ----
    std::array<Vector3, 3> InputPoints;
    Plane WorkPlane;
    std::int32_t TargetFacet = 1;
    Real TypedIndex = 0, TypedAngle = 0, TypedDepth = 0;
    int ClickRow = 1;

    // ---- Handlers ----
    void FormActivate();
    void RadioGroup1Click();
    void EdgeButtonClick(int tag);
    void PointButtonClick(int tag);
    void Button4Click();
    void Button5Click();
    void EditChange();
    void BitBtn1Click();
    void Button7Click();
    void Button6Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void ComboBox1Exit();
    void ComboBox1Select();
    void Button8Click();

    // Shows facet f of the design: its group highlighted, three of its corners, its angle, index, depth
    // and Z-axis intercept. False when f belongs to no facet group.
    bool ShowFacet(int f);

    // The raw index of a shown (typed) index, and the texts of a plane's angle and index.
    Real RawIndex(Real shown) const;
    std::string AngleText(const Vector3& normal) const;
    std::string InterceptText(const Vector3& normal, Real dist) const;

    // The live preview: the plane the fields give drawn on the sheet, and the warning line; nothing and no
    // message while a field holds no number yet. The design does not change.
    void UpdatePreview();
    static constexpr int PreviewDelayMs = 120;

    // Esc and the title bar close act as "Cance&l".
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void LayOut();
    void Connect();
    TGem& Design() const;
    void Report(QWidget* field, const std::string& message);
    void ApplyMethod(int method);
    void SetSelectionControlsEnabled(bool enabled);
    void SetComboControlsVisible(bool indexBox, bool rest);
    void SetRadioItem(RadioGroup* group, int index);
    void UpdateFacetButton();
    void WriteTargetFacet();
    void WritePoint(int row, const Vector3& p);
    void SetMarker(int k, Real x, Real y);
    bool ReadInputs(int method);
    bool ComputePlane(int method, Plane& plane) const;
    bool ReadInputsQuietly(int method);
    void ShowOutcome(const Plane& plane);
    void ClearPreview();
    void ShowPlane(int method);
    void EnterModify(int first, int shown);
    void ConsumeClick();
    void TakeClickedPoint(const SheetClick& click);
    void TakeClickedFacet(const SheetClick& click);
    void RequestClickFor(ClickKind kind, const std::string& prompt);
    void FillIndexList();
    void FillAngleList(Real index);
    bool ReadComboIndex(Real& index);
    void Repaint();

    DesignHost& Host;
    CutPlanner Planner;
};
