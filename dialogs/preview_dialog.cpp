// The preview pattern shared by the dialogs that change the whole design.
#include "dialogs/preview_dialog.h"

#include "dialogs/dialog_frame.h"

#include <QPushButton>

TPreviewForm::TPreviewForm(DesignHost& host, const QString& objectName, const QString& caption)
    : QDialog(host.DialogParent()), BitBtn1(new QPushButton("O&K", this)),
      BitBtn2(new QPushButton("Cance&l", this)), Host(host) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    UseDialogFont(*this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2->setObjectName("BitBtn2");
    connect(BitBtn1, &QPushButton::clicked, this, &TPreviewForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TPreviewForm::BitBtn2Click);
}

void TPreviewForm::Complete(QLayout* controls) {
    CompleteDialog(*this, controls, {BitBtn1, BitBtn2}, Host.Svc().Window);
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TPreviewForm::BitBtn1Click() {
    Host.Finish(*this);
}

void TPreviewForm::BitBtn2Click() {
    reject();
}

void TPreviewForm::reject() {
    if (Cancelling) return QDialog::reject();
    Cancelling = true;
    Host.CancelPreview(*this);
    Cancelling = false;
}
