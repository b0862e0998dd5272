// "Measurement": girdle measurements by clicks on the stone.
#include "dialogs/measurement_dialog.h"

#include "dialogs/dialog_frame.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int GroupGap = 13;           // between the Dcf and the ccd part and the buttons
constexpr int ClickMarker = 1;         // the marker that shows the measured spot
constexpr bool OnlyGirdlePlane = true; // picks: only edges and corners in the girdle plane ...
constexpr bool NotGirdlePlane = false; // ... and no filter against them
} // namespace

TForm16::TForm16(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    SetUpDialog(*this, "Form16", "Measurement");

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label1 = new QLabel("Distance and length of corner facets", Panel1);
    Label2 = new QLabel("Distance between corner points", Panel1);
    Button2 = new QPushButton("&dcf click on edge of perimeter", Panel1);
    Button2->setToolTip("Click on an edge at the perimeter");
    Button1 = new QPushButton("&ccd click on point of perimeter", Panel1);
    Button3 = new QPushButton("Clea&r", Panel1);
    BitBtn1 = new QPushButton("O&K", Panel1);
    BitBtn2 = new QPushButton("Cance&l", Panel1);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{Label1, "Label1"},
                                {Label2, "Label2"},
                                {Button1, "Button1"},
                                {Button2, "Button2"},
                                {Button3, "Button3"},
                                {BitBtn1, "BitBtn1"},
                                {BitBtn2, "BitBtn2"}})
        widget->setObjectName(name);

    auto* panel = new QVBoxLayout(Panel1);
    panel->addWidget(Label1);
    panel->addWidget(Button2);
    panel->addSpacing(GroupGap);
    panel->addWidget(Label2);
    panel->addWidget(Button1);
    auto* controls = new QVBoxLayout;
    controls->addWidget(Panel1);
    CompleteDialog(*this, controls, {BitBtn1, BitBtn2, Button3}, host.Svc().Window);
    // The dialog has buttons only: Enter presses the one that has the focus.
    PressFocusedButtonOnEnter(*this);

    connect(Button2, &QPushButton::clicked, this, &TForm16::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm16::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm16::Button3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm16::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm16::BitBtn2Click);
}

// ---- Activation ----

void TForm16::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TForm16::FormActivate() {
    DisplayState& display = Host.Display();
    if (display.DialogReset) {
        display.DialogReset = false;
        // The outline would hide the girdle edges to be clicked: off while the dialog is open.
        OutlineWasHidden = display.ShowOutline;
        if (OutlineWasHidden) Host.ToggleOutline();
        Button2->setFocus();
        Button1->setEnabled(Host.Design().Parts % 2 == 0);
    }
    ConsumeClick();
}

// The left-button click the window took for this dialog, if one is waiting.
void TForm16::ConsumeClick() {
    const std::optional<SheetClick> click = Host.TakeClick(*this);
    if (!click) return;
    if (click->Kind == ClickKind::Edge) MeasureEdge(*click);
    if (click->Kind == ClickKind::Point) MeasureCorner(*click);
}

void TForm16::MeasureEdge(const SheetClick& click) {
    const std::optional<TGem::PointFound> picked =
        Host.Design().PickEdge(click.X, click.Y, OnlyGirdlePlane, NotGirdlePlane);
    if (!picked) return Refuse("Not clicked on perimeter edge");
    const int edge = picked->Index;
    const Vector3 p = picked->Position;
    if (Host.Display().ShowClick) Host.Display().Markers.Set(ClickMarker, p.x, p.y);
    Host.Preview([&](TGem& design) {
        design.MeasureGirdleEdge(edge);
        design.Recompute();
        return true;
    });
}

void TForm16::MeasureCorner(const SheetClick& click) {
    const Vector3 p = Host.Design().PickPoint(click.X, click.Y, OnlyGirdlePlane, NotGirdlePlane).Position;
    // The picked point is marked whether or not it lies on the perimeter.
    if (Host.Display().ShowClick) Host.Display().Markers.Set(ClickMarker, p.x, p.y);
    bool refused = false;
    Host.Preview([&](TGem& design) {
        refused = !design.MeasureCornerToCorner(p);
        if (!refused) design.Recompute();
        return true;
    });
    if (refused) Refuse("Not clicked on perimeter point");
}

void TForm16::Refuse(const std::string& message) {
    Host.Svc().Messages.Beep();
    Host.Svc().Messages.ShowError(message);
}

// ---- Buttons ----

void TForm16::Button2Click() {
    Host.RequestClick(*this, ClickKind::Edge, "Click on girdle of corner facet");
}

void TForm16::Button1Click() {
    Host.RequestClick(*this, ClickKind::Point, "Click on point of corner facet");
}

void TForm16::Button3Click() {
    Host.Preview([](TGem& design) {
        design.ClearMessageLines();
        return true;
    });
}

void TForm16::ShowOutlineAgain() {
    if (!OutlineWasHidden) return;
    OutlineWasHidden = false;
    Host.ToggleOutline();
}

void TForm16::BitBtn1Click() {
    ShowOutlineAgain();
    Host.Finish(*this);
}

void TForm16::BitBtn2Click() {
    ShowOutlineAgain();
    Host.Display().SelectedFacet = NoneFound;
    Host.Display().HighlightedGroupFirst = NoneFound;
    // The marker belongs to a measurement that is dropped; the snapshot brings back the message lines.
    Host.Display().Markers.HideAll();
    Cancelling = true;
    Host.CancelPreview(*this);
    Cancelling = false;
}

void TForm16::reject() {
    if (Cancelling) return QDialog::reject();
    BitBtn2Click();
}
