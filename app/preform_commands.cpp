// The CAM preform: made from the design and shown instead of it, saved, printed, and left again.
#include "app/commands.h"

#include "app/command_host.h"
#include "app/file_questions.h"

void campreform2Click(CommandHost& w) {
    // Leaving the preform reads the current snapshot back: a design without one gets it first.
    if (!w.Changes().EnsureStep()) return;
    const std::string name = w.DesignName();
    TGem& preform = w.Preform();
    const bool made = w.Preview([&preform, &name](TGem& design) {
        design.FlattenForPreform();
        design.RevealGirdleFacets();
        design.MakePreform(preform);
        // The preform's sheet names the design it was made from.
        preform.SetTextLine(CutNameLine, name);
        return true;
    });
    if (!made) return;
    w.Display().PreformShown = true;
    w.Changes().Refresh();
}

void campreform3Click(CommandHost& w) {
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::SaveDesign);
    if (!RunSaveDialog(w.Svc(), dialog, w.DesignFile(), false)) return;
    // The preform is a design: its file gets the design extension, as the design's own Save as gives it.
    const std::string path = WithDesignExtension(dialog.FileName);
    if (ConfirmOverwrite(w.Svc().Messages, path)) return;
    TGem& preform = w.Preform();
    if (const FileResult written = preform.WriteDesign(path, TGem::FileMode::Save, NameOnly(path)))
        RememberFolder(dialog);
    else
        w.Changes().ReportFileFailure(written);
    w.Repaint();
}

void campreform4Click(CommandHost& w) {
    PrintDesignOf(w, w.Preform());
}

void campreform5Click(CommandHost& w) {
    w.Display().PreformShown = false;
    w.Changes().Revert();
}
