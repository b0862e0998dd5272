// View commands: the free rotation, the 3D view, zoom and pan of the sheet, the design on another index
// gear, the brightness window, and the display options of the Options menu.
#include "app/commands.h"

#include "app/main_window.h"
#include "dialogs/brightness_window.h"
#include "dialogs/facet_list_dialog.h"
#include "dialogs/stone_view_window.h"

namespace {
constexpr int FormWidth = 800, FormHeight = 600;
} // namespace

void Rotate1Click(Tstartform& w) {
    if (!w.Design().HasFacets()) return;
    w.RotationMode = true;
    w.Changes().Refresh();
    w.Sheet.RotateKey(w.Design(), RotateStartKey);
    w.Client->update();
    w.Client->setFocus();
}

void View3D1Click(Tstartform& w) {
    StoneViewWindow& window = DialogOf<StoneViewWindow>(w);
    window.show();
    window.raise();
    window.activateWindow();
}

void ZoomToFit1Click(Tstartform& w) {
    if (!w.Client->Surface) w.Repaint(); // the views are laid out for the client area first
    w.Sheet.ZoomToFit(w.ShownDesign());
    w.Repaint();
}

void ActualSize1Click(Tstartform& w) {
    w.Sheet.Zoom = SheetZoom{};
    w.Repaint();
}

void ZoomIn1Click(Tstartform& w) {
    w.ZoomSheet(SheetZoom::Step);
}

void ZoomOut1Click(Tstartform& w) {
    w.ZoomSheet(1 / SheetZoom::Step);
}

void PrintAsShown1Click(Tstartform& w) {
    w.Sheet.ZoomOnPrinter = w.Checked("PrintAsShown1");
}

void GearIndices1Click(Tstartform& w) {
    TForm5& list = DialogOf<TForm5>(w);
    list.AskForGear = true;
    w.ShowModal(list);
}

// The brightness window stays open beside the sheet and follows every change of the design.
void Brightness1Click(Tstartform& w) {
    TBrightnessWindow& window = DialogOf<TBrightnessWindow>(w);
    window.show();
    window.raise();
    window.activateWindow();
}

void Showcutoff1Click(Tstartform& w) {
    w.Shown.ShowCutoff = w.Checked("Showcutoff1");
    w.Repaint();
}

void Showclick1Click(Tstartform& w) {
    w.Shown.ShowClick = w.Checked("Showclick1");
    w.Repaint();
}

void Showindices1Click(Tstartform& w) {
    w.Shown.ShowIndices = w.Checked("Showindices1");
    w.Repaint();
}

void ShowOutline1Click(Tstartform& w) {
    // The menu item has already toggled its check mark: the command decides it itself.
    const bool wasChecked = !w.Checked("ShowOutline1");
    w.SetChecked("ShowOutline1", false);
    if (wasChecked) {
        w.Design().DropOutline();
        w.Repaint();
        return;
    }
    if (!w.ReadOutlineReported()) return; // a read outline lies in the design and shows
    w.Repaint();
    w.SetChecked("ShowOutline1", true);
}

void Resizedrawarea1Click(Tstartform& w) {
    if (w.StoredWidth <= FormWidth) {
        w.StoredWidth = w.Svc().Window.ScreenWidth();
        w.StoredHeight = w.Svc().Window.ScreenHeight();
    } else {
        w.StoredWidth = FormWidth;
        w.StoredHeight = FormHeight;
    }
    w.ClosingDown = true;
    w.resize(w.StoredWidth, w.StoredHeight);
    w.ClosingDown = false;
    w.Repaint();
}
