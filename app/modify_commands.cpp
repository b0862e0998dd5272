// Commands that cut the stone or change the whole design.
#include "app/commands.h"

#include "app/command_host.h"
#include "dialogs/add_facets_dialog.h"
#include "dialogs/culet_dialog.h"
#include "dialogs/new_symmetry_dialog.h"
#include "dialogs/resize_dialog.h"
#include "dialogs/rotate_dialog.h"
#include "dialogs/shift_dialog.h"
#include "dialogs/stretch_dialog.h"
#include "dialogs/table_dialog.h"

void Generalfacet1Click(CommandHost& w) {
    w.Display().DialogReset = true;
    w.ShowModal(DialogOf<TForm14>(w));
}

void RoundIndices1Click(CommandHost& w) {
    w.Apply([](TGem& design) {
        design.RoundIndices();
        return true;
    });
}

void Removelastfacets1Click(CommandHost& w) {
    w.Apply([](TGem& design) {
        design.DeleteLastGroup();
        return true;
    });
}

void Changetable1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm8>(w));
}

void Makeculetfacet1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm2>(w));
}

void Changebaseplane1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm13>(w));
}

void Scale1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm11>(w));
}

void Stretch1Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm12>(w));
}

void Rotate3Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm22>(w));
}

void Symmetry2Click(CommandHost& w) {
    w.ShowModal(DialogOf<TForm3>(w));
}
