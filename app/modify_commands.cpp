// Commands that cut the stone or change the whole design.
#include "app/commands.h"

#include "app/unit1.h"
#include "dialogs/Unit12.h"

void Generalfacet1Click(Tstartform& w) {
    w.Shown.DialogReset = true;
    w.ShowModal(DialogOf<TForm14>(w));
}

void RoundIndices1Click(Tstartform& w) {
    w.Apply([](TGem& design) {
        design.RoundIndices();
        return true;
    });
}

void Removelastfacets1Click(Tstartform& w) {
    w.Apply([](TGem& design) {
        design.DeleteLastGroup();
        return true;
    });
}
