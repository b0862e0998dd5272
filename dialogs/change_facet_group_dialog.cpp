// "Change facet group": the group picked enters modify mode and the Add facets dialog opens on it.
#include "dialogs/change_facet_group_dialog.h"

#include "dialogs/add_facets_dialog.h"
#include "dialogs/dialog_set.h"
#include "gem/numtext.h"

#include <QLineEdit>
#include <QPushButton>

TForm9::TForm9(DesignHost& host)
    : FacetGroupPicker(host, {"Form9", "Change facet group", "Cutangle", "Clic&k in facet", "&Change facets",
                              QStyle::SP_DialogApplyButton, nullptr, true}) {}

void TForm9::AfterReset() {
    ClickButton->setFocus();
}

void TForm9::ShowClickedFacet(int f) {
    Edit1->setText(QString::fromStdString(Design().LabelIndexText(f)));
    Edit2->setText(QString::fromStdString(fixed(Design().FacetAngle(f), 7, 2)));
}

void TForm9::BitBtn1Click() {
    const std::optional<TGem::FacetRange> group =
        FoundFacet < 1 ? std::nullopt : Design().GroupRange(FoundFacet);
    if (!group || group->First < 1) return;
    Design().EnterModifyMode(group->First);
    Host.Display().MethodMask = ModifyMethods;
    Host.RefreshMenus();
    done(QDialog::Accepted);
    Host.Repaint();
    Host.FocusWindow();
    Host.Display().DialogReset = true;
    Host.ShowModal(DialogOf<TForm14>(Host));
}

void TForm9::BitBtn2Click() {
    Design().LeaveModifyMode();
    FacetGroupPicker::BitBtn2Click();
}
