// View commands: the free rotation, the 3D view, zoom and pan of the sheet, the design on another index
// gear, the brightness window, and the display options of the Options menu.
#include "app/commands.h"

#include "app/command_host.h"
#include "dialogs/brightness_window.h"
#include "dialogs/facet_list_dialog.h"
#include "dialogs/stone_view_window.h"

namespace {
constexpr int FormWidth = 800, FormHeight = 600;
} // namespace

void Rotate1Click(CommandHost& w) {
    if (!w.Design().HasFacets()) return;
    w.StartRotation();
}

void View3D1Click(CommandHost& w) {
    StoneViewWindow& window = DialogOf<StoneViewWindow>(w);
    window.show();
    window.raise();
    window.activateWindow();
}

void ZoomToFit1Click(CommandHost& w) {
    w.LayOutSheet(); // the views are laid out for the client area first
    w.Sheet().ZoomToFit(w.ShownDesign());
    w.Repaint();
}

void ActualSize1Click(CommandHost& w) {
    w.Sheet().Zoom = SheetZoom{};
    w.Repaint();
}

void ZoomIn1Click(CommandHost& w) {
    w.ZoomSheet(SheetZoom::Step);
}

void ZoomOut1Click(CommandHost& w) {
    w.ZoomSheet(1 / SheetZoom::Step);
}

void PrintAsShown1Click(CommandHost& w) {
    w.Sheet().ZoomOnPrinter = w.Checked("PrintAsShown1");
}

void GearIndices1Click(CommandHost& w) {
    TForm5& list = DialogOf<TForm5>(w);
    list.AskForGear = true;
    w.ShowModal(list);
}

// The brightness window stays open beside the sheet and follows every change of the design.
void Brightness1Click(CommandHost& w) {
    TBrightnessWindow& window = DialogOf<TBrightnessWindow>(w);
    window.show();
    window.raise();
    window.activateWindow();
}

void Showcutoff1Click(CommandHost& w) {
    w.Display().ShowCutoff = w.Checked("Showcutoff1");
    w.Repaint();
}

void Showclick1Click(CommandHost& w) {
    w.Display().ShowClick = w.Checked("Showclick1");
    w.Repaint();
}

void Showindices1Click(CommandHost& w) {
    w.Display().ShowIndices = w.Checked("Showindices1");
    w.Repaint();
}

void ShowOutline1Click(CommandHost& w) {
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

void Resizedrawarea1Click(CommandHost& w) {
    WindowServices& screen = w.Svc().Window;
    if (w.WindowSize().width() <= FormWidth)
        w.ResizeWindow({screen.ScreenWidth(), screen.ScreenHeight()});
    else
        w.ResizeWindow({FormWidth, FormHeight});
}
