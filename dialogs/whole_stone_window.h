// View > Whole stone: the stone of the open design and its partner half. The crown from above, the
// pavilion from below, a side and an end elevation; the figures; the weight for a width (or the width
// for a weight) in a chosen material; how the two girdles agree, with the commands that scale one half
// to the other. It follows every change of the design.
#pragma once

#include "dialogs/design_host.h"
#include "stone/materials.h"
#include "stone/stone.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

// The factor that resizes the open design about the axis to its partner's girdle width; 1 when there is
// no partner or the girdles agree.
Real GirdleScaleToPartner(DesignHost& host);
// Scale pavilion to crown (or crown to pavilion, for an open crown): one undo step. False when there is
// nothing to scale or the change was refused.
bool ScaleToPartner(DesignHost& host);

class TWholeStoneWindow : public QDialog {
    Q_OBJECT
  public:
    explicit TWholeStoneWindow(DesignHost& host);

    // Makes the stone of the design as it is now and shows it.
    void Refresh();
    // The stone shown; empty when the halves make none (Source then says why).
    const Stone& Shown() const { return WholeStone; }

    QLabel* Picture = nullptr;
    QLabel* Source = nullptr;
    QLabel* Figures = nullptr;
    QLabel* Consistency = nullptr;
    QComboBox* MaterialBox = nullptr;
    QDoubleSpinBox* WidthBox = nullptr;
    QDoubleSpinBox* WeightBox = nullptr;
    QPushButton* AddMaterialButton = nullptr;
    QPushButton* ScaleButton = nullptr;
    QPushButton* OpenPartnerButton = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    DesignHost& Host;
    Stone WholeStone;
    std::vector<Material> Choices; // the built-in materials, then the user's own
    bool Updating = false;

    void BuildLayout();
    void FillMaterials();
    void AddMaterial();
    const Material& Chosen() const;
    void DrawViews();
    // The weight for the width typed, or the width for the weight typed.
    void WeightFromWidth();
    void WidthFromWeight();
    void SetQuietly(QDoubleSpinBox& box, Real value);
};
