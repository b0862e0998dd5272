// "Rotate  gem".
#include "dialogs/rotate_dialog.h"

#include "dialogs/field_input.h"
#include "gem/numtext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int QuarterTurns = 4; // the increment offered is a quarter of the gear
} // namespace

TForm22::TForm22(DesignHost& host) : TPreviewForm(host, "Form22", "Rotate  gem") {
    Edit1 = new QLineEdit("1", this);
    Label1 = new QLabel("&Rotate gem over", this);
    Label1->setBuddy(Edit1);
    Label2 = new QLabel("indices", this);
    Button1 = new QPushButton("&Clockwise", this);
    Button2 = new QPushButton("&Anti clockwise", this);
    Edit1->setObjectName("Edit1");
    Button1->setObjectName("Button1");
    Button2->setObjectName("Button2");
    BitBtn1->setDefault(true);

    auto* controls = new QGridLayout;
    controls->addWidget(Label1, 0, 0);
    controls->addWidget(Edit1, 0, 1);
    controls->addWidget(Label2, 0, 2);
    controls->addWidget(Button1, 1, 0);
    controls->addWidget(Button2, 1, 1, 1, 2);
    Complete(controls);
    connect(Button1, &QPushButton::clicked, this, &TForm22::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm22::Button2Click);
}

void TForm22::FormActivate() {
    Edit1->setText(QString::fromStdString(fixed(Design().IndexCount() / QuarterTurns, 3, 0)));
}

int TForm22::GearSteps(int increment, int indexCount) {
    const int k = increment % indexCount;
    return k < 0 ? k + indexCount : k;
}

void TForm22::Button1Click() {
    Rotate(true);
}

void TForm22::Button2Click() {
    Rotate(false);
}

void TForm22::Rotate(bool clockwise) {
    const auto increment = ReadIntegerField(Host.Svc().Messages, Edit1, "Error in index increment");
    if (!increment || *increment == 0) return;
    const int k = GearSteps(*increment, Design().IndexCount());
    Step([k, clockwise](TGem& design) {
        design.RotateByIndex(clockwise ? -k : k);
        return true;
    });
}
