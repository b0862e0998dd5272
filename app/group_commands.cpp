// Commands on facet groups and tiers: change or delete a facet group, show the tiers, change the angles.
#include "app/commands.h"

#include "app/main_window.h"
#include "dialogs/change_angles_dialog.h"
#include "dialogs/change_facet_group_dialog.h"
#include "dialogs/delete_facet_group_dialog.h"
#include "dialogs/show_tiers_dialog.h"

namespace {
// The picking dialogs start with no group highlighted.
template <class Dialog> void PickFacetGroup(Tstartform& w) {
    w.Shown.DialogReset = true;
    w.Shown.SelectedFacet = NoneFound;
    w.Repaint();
    w.ShowModal(DialogOf<Dialog>(w));
}
} // namespace

void Changetier1Click(Tstartform& w) {
    PickFacetGroup<TForm9>(w);
}

void deletetier1Click(Tstartform& w) {
    PickFacetGroup<Tdeltierform>(w);
}

void Showtier1Click(Tstartform& w) {
    w.Shown.DialogReset = true;
    w.ShowModal(DialogOf<TForm17>(w));
}

void Changeangles1Click(Tstartform& w) {
    w.Shown.DialogReset = true;
    w.ShowModal(DialogOf<TForm18>(w));
}
