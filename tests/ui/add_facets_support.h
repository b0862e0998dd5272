// The Add facets dialog on a main window built on scripted services.
#pragma once

#include "dialogs/add_facets_dialog.h"
#include "tests/ui/ui_helpers.h"

struct AddFacetsFixture : WindowFixture {
    TForm14& Form;
    AddFacetsFixture() : Form(DialogOf<TForm14>(*Window)) {}
    TGem& Design() { return Window->Design(); }
    // Shows the dialog as the menu command does, without a modal loop.
    void Open() {
        Window->Display().DialogReset = true;
        Form.show();
    }
};

// The client pixel at which the top view of the sheet shows the design point (x, y).
// The window is shown at its full size and the sheet drawn first, so that its views are laid out
// for the client area.
inline QPoint SheetPixel(Tstartform& window, Real x, Real y) {
    if (!window.isVisible()) window.show();
    window.RepaintScreen(window.Design());
    const DevicePoint at = window.Sheet().TopView.ToDevice(y, x); // model y across, model x down
    return {at.x, at.y};
}

// A cut is committed through its snapshot file, which keeps 8 decimals of a normal, 6 of a depth and
// 3 of an index: values read back agree to this.
inline constexpr Real FileRounding = 1e-3L;
