// "Make culet facet".
#include "dialogs/culet_dialog.h"

namespace {
// A clicked point below the girdle, at z, gives the culet the height -z.
const BoundingPlaneSetup CuletSetup{
    "Form2", "Make culet facet", "Culet Up", "Culet down", "Culet height", "", -1, true};
} // namespace

TForm2::TForm2(DesignHost& host) : TBoundingPlaneForm(host, CuletSetup) {}
