// Measure commands: the girdle measurements.
#include "app/commands.h"

#include "app/main_window.h"
#include "dialogs/measurement_dialog.h"

void CcdandDcf1Click(Tstartform& w) {
    w.Shown.DialogReset = true;
    w.ShowModal(DialogOf<TForm16>(w));
}
