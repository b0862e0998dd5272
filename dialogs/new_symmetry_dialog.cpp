// "New symmetry".
#include "dialogs/new_symmetry_dialog.h"

#include "dialogs/design_host.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/field_input.h"
#include "dialogs/radio_group.h"
#include "gem/numtext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int MirrorYes = 0, MirrorNo = 1; // items of the mirror group
} // namespace

TForm3::TForm3(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("Form3");
    setWindowTitle("New symmetry");
    setModal(true);
    UseDialogFont(*this);
    Edit1 = new QLineEdit(this);
    Edit1->setEnabled(false);
    Label1 = new QLabel("Old parts", this);
    Edit2 = new QLineEdit(this);
    Label2 = new QLabel("&New parts", this);
    Label2->setBuddy(Edit2);
    RadioGroup1 = new RadioGroup("&Mirror symmetry", {"Yes", "No"}, this);
    Button1 = new QPushButton("&Restore start values", this);
    BitBtn1 = new QPushButton("O&K", this);
    BitBtn2 = new QPushButton("Cance&l", this);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{Edit1, "Edit1"},
                                {Edit2, "Edit2"},
                                {RadioGroup1, "RadioGroup1"},
                                {Button1, "Button1"},
                                {BitBtn1, "BitBtn1"},
                                {BitBtn2, "BitBtn2"}})
        widget->setObjectName(name);
    BitBtn1->setDefault(true);

    auto* controls = new QGridLayout;
    controls->addWidget(Label1, 0, 0);
    controls->addWidget(Edit1, 0, 1);
    controls->addWidget(Label2, 1, 0);
    controls->addWidget(Edit2, 1, 1);
    controls->addWidget(RadioGroup1, 0, 2, 2, 1);
    controls->addWidget(Button1, 2, 0, 1, 3);
    CompleteDialog(*this, controls, {BitBtn1, BitBtn2}, Host.Svc().Window);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TForm3::ShowSymmetry(int parts, bool mirror) {
    const QString text = QString::fromStdString(fixed(parts, 3, 0));
    Edit1->setText(text);
    Edit2->setText(text);
    RadioGroup1->SetItemIndex(mirror ? MirrorYes : MirrorNo);
}

void TForm3::FormActivate() {
    ShowSymmetry(Host.Design().Parts, Host.Design().Mirror);
}

void TForm3::Button1Click() {
    ShowSymmetry(Host.Design().DesignParts, Host.Design().DesignMirror);
}

// The new parts must divide the gear; the first failing rule is reported and the dialog stays open.
void TForm3::BitBtn1Click() {
    MessageService& messages = Host.Svc().Messages;
    const auto parts = ReadIntegerField(messages, Edit2, "Error in number of parts");
    if (!parts) return;
    if (*parts <= 0) return ReportFieldError(messages, Edit2, "Number of parts must be positive", this);
    if (Host.Design().IndexCount() % *parts != 0)
        return ReportFieldError(messages, Edit2, "system index must be a multiple of parts", this);
    const bool mirror = RadioGroup1->ItemIndex() == MirrorYes;
    // Only the next facet group takes it: nothing to recompute, no undo step.
    Host.Preview([parts, mirror](TGem& design) {
        design.Parts = *parts;
        design.Mirror = mirror;
        return true;
    });
    accept();
}
