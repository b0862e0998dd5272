// Moving the table or the culet: steps, and the height of a clicked point.
#include "dialogs/bounding_plane_dialog.h"

#include "dialogs/updown.h"
#include "gem/numtext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {
constexpr Real FineStep = 0.1L;
constexpr Real CoarseStep = 1;
constexpr int BoundingPlane = -1;
constexpr int ClickMarker = 1;
} // namespace

TBoundingPlaneForm::TBoundingPlaneForm(DesignHost& host, const BoundingPlaneSetup& setup)
    : TPreviewForm(host, setup.ObjectName, setup.Caption), Setup(setup) {
    Label1 = new QLabel(setup.UpLabel, this);
    Label2 = new QLabel(setup.DownLabel, this);
    UpDown1 = new UpDown(this);
    UpDown2 = new UpDown(this);
    Label3 = new QLabel(setup.HeightLabel, this);
    Edit1 = new QLineEdit(setup.InitialHeight, this);
    Edit1->setEnabled(false);
    Button1 = new QPushButton("Click on &point", this);
    Button2 = new QPushButton("Click on &edge", this);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{UpDown1, "UpDown1"},
                                {UpDown2, "UpDown2"},
                                {Edit1, "Edit1"},
                                {Button1, "Button1"},
                                {Button2, "Button2"}})
        widget->setObjectName(name);
    BitBtn1->setDefault(true);
    if (setup.Culet) setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    QGridLayout* controls = StepControlsLayout(Label1, Label2, UpDown1, UpDown2);
    controls->addWidget(Label3, 2, 0);
    controls->addWidget(Edit1, 2, 1);
    QPushButton* first = setup.Culet ? Button2 : Button1;
    QPushButton* second = setup.Culet ? Button1 : Button2;
    controls->addWidget(first, 3, 0);
    controls->addWidget(second, 3, 1);
    setTabOrder(first, second);
    Complete(controls);

    connect(UpDown1, &UpDown::Clicked, this,
            [this](UpDown::Arrow a) { StepHeight(SignedStep(FineStep, a)); });
    connect(UpDown2, &UpDown::Clicked, this,
            [this](UpDown::Arrow a) { StepHeight(SignedStep(CoarseStep, a)); });
    connect(Button1, &QPushButton::clicked, this, &TBoundingPlaneForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TBoundingPlaneForm::Button2Click);
}

void TBoundingPlaneForm::ShowHeight() {
    Edit1->setText(QString::fromStdString(fixed(std::fabs(Design().Dist(BoundingPlane)), 6, 2)));
}

void TBoundingPlaneForm::EnableSteps() {
    if (!Setup.Culet) return;
    const bool culetFacet = Design().HasTable();
    UpDown1->setEnabled(culetFacet);
    UpDown2->setEnabled(culetFacet);
}

// The plane's height changes by step; the model keeps the old height when the new one is 5 or less.
void TBoundingPlaneForm::StepHeight(Real step) {
    Step([step](TGem& design) {
        design.ShiftBoundingPlane(-step); // the plane's Dist is minus its height
        return true;
    });
    ShowHeight();
}

void TBoundingPlaneForm::Button1Click() {
    Host.RequestClick(*this, ClickKind::Point, "");
}

void TBoundingPlaneForm::Button2Click() {
    Host.RequestClick(*this, ClickKind::Edge, "");
}

void TBoundingPlaneForm::FormActivate() {
    (Setup.Culet ? Button2 : BitBtn1)->setFocus();
    ShowHeight();
    ConsumeClick();
    EnableSteps();
}

// The height of the clicked corner or edge point; a click that finds neither changes nothing.
void TBoundingPlaneForm::ConsumeClick() {
    const std::optional<SheetClick> click = Host.TakeClick(*this);
    if (!click) return;
    TGem& design = Design();
    const bool edge = click->Kind == ClickKind::Edge;
    const std::optional<TGem::PointFound> picked =
        edge ? design.PickEdge(click->X, click->Y, click->Ctrl, click->Shift)
             : design.FindPoint(click->X, click->Y, click->Ctrl, click->Shift);
    if (!picked) return Host.ShowPrompt(*this, edge ? NoEdgePicked : NoPointPicked);
    const Vector3 p = picked->Position;
    PickedPoint = p;
    if (Host.Display().ShowClick) Host.Display().Markers.Set(ClickMarker, p.x, p.y);
    const Real height = Setup.ClickSign * p.z;
    Step([height](TGem& gem) {
        gem.SetBoundingPlane(height); // 0 or less becomes 1
        return true;
    });
    ShowHeight();
}
