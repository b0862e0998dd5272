// Measure commands: the girdle measurements.
#include "app/commands.h"

#include "app/command_host.h"
#include "dialogs/measurement_dialog.h"

void CcdandDcf1Click(CommandHost& w) {
    w.Display().DialogReset = true;
    w.ShowModal(DialogOf<TForm16>(w));
}
