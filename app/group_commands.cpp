// Commands on facet groups and tiers: change or delete a facet group, show the tiers, change the angles.
#include "app/commands.h"

#include "app/unit1.h"
#include "dialogs/Unit17.h"
#include "dialogs/Unit18.h"
#include "dialogs/Unit9.h"
#include "dialogs/deltier.h"

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
