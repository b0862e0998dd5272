// Commands on facet groups and tiers: change or delete a facet group, show the tiers, change the angles.
#include "app/commands.h"

#include "app/command_host.h"
#include "dialogs/change_angles_dialog.h"
#include "dialogs/change_facet_group_dialog.h"
#include "dialogs/delete_facet_group_dialog.h"
#include "dialogs/show_tiers_dialog.h"

namespace {
// The picking dialogs start with no group highlighted.
template <class Dialog> void PickFacetGroup(CommandHost& w) {
    w.Display().DialogReset = true;
    w.Display().SelectedFacet = NoneFound;
    w.Repaint();
    w.ShowModal(DialogOf<Dialog>(w));
}
} // namespace

void Changetier1Click(CommandHost& w) {
    PickFacetGroup<TForm9>(w);
}

void deletetier1Click(CommandHost& w) {
    PickFacetGroup<Tdeltierform>(w);
}

void Showtier1Click(CommandHost& w) {
    w.Display().DialogReset = true;
    w.ShowModal(DialogOf<TForm17>(w));
}

void Changeangles1Click(CommandHost& w) {
    w.Display().DialogReset = true;
    w.ShowModal(DialogOf<TForm18>(w));
}
