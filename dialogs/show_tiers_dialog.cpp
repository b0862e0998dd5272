// "Show tiers": the main window fills the facets of one tier at a time.
#include "dialogs/show_tiers_dialog.h"

#include "dialogs/dialog_frame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

namespace {
// The design's first two tiers hold its bounding planes; the tiers of cut facets follow them.
constexpr int BoundingTiers = 2;
constexpr int NameWidth = 60;
} // namespace

TForm17::TForm17(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("Form17");
    setWindowTitle("Show tiers");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    UseDialogFont(*this);
    Label1 = new QLabel("Tier", this);
    Edit1 = new QLineEdit(this);
    Edit1->setEnabled(false);
    Edit1->setFixedWidth(NameWidth);
    UpDown1 = new QWidget(this);
    NextArrow = new QToolButton(UpDown1);
    NextArrow->setArrowType(Qt::UpArrow);
    PrevArrow = new QToolButton(UpDown1);
    PrevArrow->setArrowType(Qt::DownArrow);
    auto* arrows = new QVBoxLayout(UpDown1);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(NextArrow);
    arrows->addWidget(PrevArrow);
    Label2 = new QLabel("Next tier", this);
    Label3 = new QLabel("Prev. tier", this);
    Button1 = new QPushButton("O&K", this);
    for (auto [widget, name] :
         {std::pair<QWidget*, const char*>{Edit1, "Edit1"}, {UpDown1, "UpDown1"}, {Button1, "Button1"}})
        widget->setObjectName(name);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit1, 1, 0, 2, 1, Qt::AlignVCenter);
    grid->addWidget(UpDown1, 1, 1, 2, 1);
    grid->addWidget(Label2, 1, 2);
    grid->addWidget(Label3, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    PressFocusedButtonOnEnter(*this);
    connect(NextArrow, &QToolButton::clicked, this, [this] { UpDown1Click(true); });
    connect(PrevArrow, &QToolButton::clicked, this, [this] { UpDown1Click(false); });
    connect(Button1, &QPushButton::clicked, this, &TForm17::Button1Click);
    adjustSize();
    PlaceAtBottomRight(*this, Host.Svc().Window);
}

void TForm17::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TForm17::FormActivate() {
    // The dialog starts afresh at every opening; the request to do so is taken.
    Host.Display().DialogReset = false;
    Host.Display().ShownTier = NoneFound;
    CurrentTier = 1;
    Button1->setFocus();
    ShowTier();
}

// The arrows step by one tier and stay within the tiers of cut facets.
void TForm17::UpDown1Click(bool next) {
    CurrentTier += next ? 1 : -1;
    const int lastTier = std::max(1, Host.Design().TierCount - BoundingTiers);
    CurrentTier = std::clamp(CurrentTier, 1, lastTier);
    ShowTier();
}

void TForm17::ShowTier() {
    const TGem& design = Host.Design();
    Edit1->setText(QString::fromStdString(design.TypeLetter() + std::to_string(CurrentTier)));
    const int tier = CurrentTier + BoundingTiers;
    Host.Display().ShownTier = tier <= design.TierCount ? tier : NoneFound;
    Host.Repaint();
}

void TForm17::Button1Click() {
    Close(QDialog::Accepted);
}

void TForm17::reject() {
    Close(QDialog::Rejected);
}

void TForm17::Close(int result) {
    done(result);
    Host.Display().ShownTier = NoneFound;
    Host.FocusWindow();
    Host.RefreshMenus();
    Host.Repaint();
}
