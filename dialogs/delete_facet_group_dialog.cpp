// "delete facet group": the group picked is deleted and the stone recomputed.
#include "dialogs/delete_facet_group_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

Tdeltierform::Tdeltierform(DesignHost& host)
    : FacetGroupPicker(host,
                       {"deltierform", "delete facet group", "Cut angle", "&Click in facet", "&Delete facets",
                        QStyle::SP_TrashIcon, "Select angle and then an index", false}) {}

// A facet found by a click is not one of the lists': they and the fields are emptied.
void Tdeltierform::ShowClickedFacet(int) {
    const QSignalBlocker quietAngles(ListBox1), quietIndices(ListBox2);
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
    ListBox2->clear();
    Edit1->clear();
    Edit2->clear();
}

void Tdeltierform::BitBtn1Click() {
    const int found = FoundFacet;
    Host.Finish(*this, [this, found](TGem& design) {
        if (const std::optional<TGem::FacetRange> group = design.GroupRange(found))
            design.DeleteFacets(group->First, group->Last);
        Host.Display().SelectedFacet = NoneFound;
        return true;
    });
}
