// "Change Table of Gem".
#include "dialogs/table_dialog.h"

namespace {
const BoundingPlaneSetup TableSetup{
    "Form8", "Change Table of Gem", "Table up", "Table down", "Table height", "??", 1, false};
} // namespace

TForm8::TForm8(DesignHost& host) : TBoundingPlaneForm(host, TableSetup) {}
