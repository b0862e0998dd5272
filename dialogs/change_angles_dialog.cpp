// "Change angles": one cut angle of the design becomes a new one, and every other angle follows.
#include "dialogs/change_angles_dialog.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/field_input.h"
#include "gem/numtext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
constexpr int ListWidth = 90;
constexpr int ListHeight = 140;
constexpr int FieldWidth = 80;
constexpr Real RightAngle = 90;
} // namespace

TForm18::TForm18(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("Form18");
    setWindowTitle("Change angles");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    UseDialogFont(*this);
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    Edit2->setToolTip("Give new angle");
    Label1 = new QLabel("Old angle", this);
    Label2 = new QLabel("&New angle", this);
    Label2->setBuddy(Edit2);
    ListBox1 = new QListWidget(this);
    ListBox1->setToolTip("Select old angle from list");
    Label3 = new QLabel("&Available ", this);
    Label3->setBuddy(ListBox1);
    Label4 = new QLabel("angles", this);
    Button1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "O&K", this);
    Button2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cance&l", this);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{Edit1, "Edit1"},
                                {Edit2, "Edit2"},
                                {ListBox1, "ListBox1"},
                                {Button1, "Button1"},
                                {Button2, "Button2"}})
        widget->setObjectName(name);

    for (QLineEdit* edit : {Edit1, Edit2})
        edit->setFixedWidth(FieldWidth);
    ListBox1->setFixedSize(ListWidth, ListHeight);
    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit1, 1, 0);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Edit2, 3, 0);
    grid->setRowStretch(4, 1);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(Label4, 1, 1);
    grid->addWidget(ListBox1, 2, 1, 3, 1);
    CompleteDialog(*this, grid, {Button1, Button2}, Host.Svc().Window);

    PressFocusedButtonOnEnter(*this);
    OnListChoice(ListBox1, this, [this] { ListBox1Click(); });
    connect(Button1, &QPushButton::clicked, this, &TForm18::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm18::Button2Click);
}

void TForm18::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TForm18::FormActivate() {
    // The dialog starts afresh at every opening; the request to do so is taken.
    Host.Display().DialogReset = false;
    FillAngleList();
    Edit1->setText(ListBox1->count() > 0 ? ListBox1->item(0)->text() : QString());
    Edit2->clear();
    Edit2->setFocus();
}

// One entry per tier that is neither horizontal nor vertical.
void TForm18::FillAngleList() {
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    const TGem& design = Host.Design();
    for (int t = 1; t <= design.TierCount; ++t) {
        const Real angle = design.FacetAngle(design.Tiers[t].FirstFacet);
        if (NearZero(angle) || Near90(angle) || Near180(angle)) continue;
        ListBox1->addItem(QString::fromStdString(fixed(angle, 6, 2)));
    }
}

void TForm18::ListBox1Click() {
    if (const QListWidgetItem* item = ListBox1->currentItem()) Edit1->setText(item->text());
}

std::optional<Real> TForm18::ReadAngle(QLineEdit* field, const std::string& notANumber) {
    const std::optional<Real> angle = ReadRealField(Host.Svc().Messages, field, notANumber);
    if (!angle) return std::nullopt;
    if (*angle > 0 && *angle < RightAngle) return angle;
    ReportFieldError(Host.Svc().Messages, field, "Angle must be > 0 and < 90 ");
    return std::nullopt;
}

void TForm18::Button1Click() {
    const std::optional<Real> oldAngle = ReadAngle(Edit1, "Error in old angle");
    if (!oldAngle) return;
    const std::optional<Real> newAngle = ReadAngle(Edit2, "Error in newangle");
    if (!newAngle) return;
    if (!Host.Design().HasCutAngle(*oldAngle))
        return ReportFieldError(Host.Svc().Messages, Edit1, "Angle not found");
    bool refused = false;
    const bool changed = Host.Finish(*this, [&](TGem& design) {
        refused = !design.ScaleAngles(*newAngle, *oldAngle);
        return !refused;
    });
    // The old angle is there: the new one would take the design beyond what the engine computes.
    if (!changed && refused)
        ReportFieldError(Host.Svc().Messages, Edit2, "New angle out of reach for this design");
}

void TForm18::Button2Click() {
    done(QDialog::Rejected);
}
