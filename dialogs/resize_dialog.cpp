// "Resize Gem".
#include "dialogs/resize_dialog.h"

namespace {
const ScaleSetup ResizeSetup{
    "Form11",       "Resize Gem", "Scale up", "Scale down", "change in 0.01 steps", "Change in 0.1 steps",
    "Scale factor", false};
} // namespace

TForm11::TForm11(DesignHost& host) : TScaleForm(host, ResizeSetup) {}
