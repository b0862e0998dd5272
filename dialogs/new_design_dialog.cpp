// "Define New Gem": the dialog that starts a new design from system index, parts, mirror, offset and type.
#include "dialogs/new_design_dialog.h"

#include "dialogs/design_host.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/field_input.h"
#include "dialogs/radio_group.h"
#include "gem/new_design_input.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int FontPixels = 13;

QLabel* BuddyLabel(const QString& caption, QLineEdit* edit, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(edit);
    return label;
}
} // namespace

TForm6::TForm6(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("Form6");
    setWindowTitle("Define New Gem");
    setModal(true);
    QFont font("Arial");
    font.setPixelSize(FontPixels);
    font.setBold(true);
    setFont(font);

    RadioGroup1 = new RadioGroup("&Mirror symmetry", {"&Yes", "&No"}, this);
    RadioGroup2 = new RadioGroup("&Type", {"&Crown", "&Pavilion"}, this);
    Edit1 = new QLineEdit("96", this);
    Edit2 = new QLineEdit("8", this);
    Edit3 = new QLineEdit("0", this);
    Label1 = BuddyLabel("&System index", Edit1, this);
    Label2 = BuddyLabel("&Identical parts", Edit2, this);
    Label3 = BuddyLabel("&Offset index", Edit3, this);
    button1 = new QPushButton("O&K", this);
    button2 = new QPushButton("Cance&l", this);
    RadioGroup1->SetItemIndex(0);
    RadioGroup2->SetItemIndex(0);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{RadioGroup1, "RadioGroup1"},
                                {RadioGroup2, "RadioGroup2"},
                                {Edit1, "Edit1"},
                                {Edit2, "Edit2"},
                                {Edit3, "Edit3"},
                                {button1, "button1"},
                                {button2, "button2"}})
        widget->setObjectName(name);

    Edit1->setToolTip("Negative index gives incresing indices clockwise");
    Label1->setToolTip("Set the system index | must be greater than 3");
    Label3->setToolTip("The index that goes at the bottom");
    Edit2->setToolTip("value must integer divide system index");
    Label2->setToolTip("The symmetry of the gem");

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label3, 1, 0);
    fields->addWidget(Edit3, 1, 1);
    fields->addWidget(Label2, 2, 0);
    fields->addWidget(Edit2, 2, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(RadioGroup1);
    groups->addWidget(RadioGroup2);
    auto* controls = new QVBoxLayout;
    controls->addLayout(groups);
    controls->addLayout(fields);
    button1->setDefault(true);
    CompleteCentredDialog(*this, controls, {button1, button2});
    connect(button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::Preset(const QString& systemIndex, const QString& parts, const QString& offset, bool mirror) {
    Edit1->setText(systemIndex);
    Edit2->setText(parts);
    Edit3->setText(offset);
    RadioGroup1->SetItemIndex(mirror ? 0 : 1);
    RadioGroup2->SetItemIndex(0);
}

void TForm6::Button1Click() {
    NewDesignInput input;
    input.SystemIndexText = Edit1->text().toStdString();
    input.PartsText = Edit2->text().toStdString();
    input.OffsetText = Edit3->text().toStdString();
    input.Mirror = RadioGroup1->ItemIndex() == 0;
    input.Pavilion = RadioGroup2->ItemIndex() == 1;
    const NewDesignCheck check = CheckNewDesignInput(input);
    switch (check.Field) {
    case NewDesignField::SystemIndex:
        return ReportFieldError(Host.Svc().Messages, Edit1, check.Message, this);
    case NewDesignField::Parts:
        return ReportFieldError(Host.Svc().Messages, Edit2, check.Message, this);
    case NewDesignField::Offset:
        return ReportFieldError(Host.Svc().Messages, Edit3, check.Message, this);
    case NewDesignField::None:
        break;
    }

    const bool showOutline = Host.Display().ShowOutline;
    Host.Finish(*this, [&](TGem& design) {
        design.NewDesign(check.Type, check.Parts, check.SystemIndex, check.Mirror, check.Offset, true);
        Host.Changes().History().StartNew();
        design.SetTextLine(FileNameLine, "");
        // With the outline option on, the outline is read again and shown over the new design.
        if (showOutline) static_cast<void>(design.ReadOutline("")); // unreadable: the design has none
        Host.SetDesignFile("");
        Host.Display().SelectedFacet = NoneFound;
        return true;
    });
}

void TForm6::Button2Click() {
    reject();
}
