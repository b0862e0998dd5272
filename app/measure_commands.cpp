// Measure commands: the girdle measurements.
#include "app/commands.h"

#include "app/unit1.h"
#include "dialogs/Unit16.h"

void CcdandDcf1Click(Tstartform& w) {
    w.Shown.DialogReset = true;
    w.ShowModal(DialogOf<TForm16>(w));
}
