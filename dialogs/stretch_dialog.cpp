// "Stretch Gem".
#include "dialogs/stretch_dialog.h"

namespace {
const ScaleSetup StretchSetup{
    "Form12",         "Stretch Gem", "Stretch", "Shrink", "Change in 0.01 steps", "Change in 0.1 steps",
    "stretch factor", true};
} // namespace

TForm12::TForm12(DesignHost& host) : TScaleForm(host, StretchSetup) {}
