// Commands that cut the stone or change the whole design.
#include "app/commands.h"

#include "app/unit1.h"
#include "dialogs/Unit10.h"
#include "dialogs/Unit11.h"
#include "dialogs/Unit12.h"
#include "dialogs/Unit22.h"
#include "dialogs/Unit25.h"
#include "dialogs/Unit30.h"
#include "dialogs/Unit8.h"
#include "dialogs/unit14.h"

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

void Changetable1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm8>(w));
}

void Makeculetfacet1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm2>(w));
}

void Changebaseplane1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm13>(w));
}

void Scale1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm11>(w));
}

void Stretch1Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm12>(w));
}

void Rotate3Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm22>(w));
}

void Symmetry2Click(Tstartform& w) {
    w.ShowModal(DialogOf<TForm3>(w));
}
