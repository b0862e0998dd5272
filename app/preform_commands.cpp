// The CAM preform: made from the design and shown instead of it, saved, printed, and left again.
#include "app/commands.h"

#include "app/file_questions.h"
#include "app/main_window.h"

void campreform2Click(Tstartform& w) {
    // Leaving the preform reads the current snapshot back: a design without one gets it first.
    if (!w.Changes().EnsureStep()) return;
    const std::string name = w.DesignName;
    TGem& preform = w.Preform();
    const bool made = w.Preview([&preform, &name](TGem& design) {
        design.FlattenForPreform();
        design.Recompute();
        design.RevealGirdleFacets();
        design.MakePreform(preform);
        // The preform's sheet names the design it was made from.
        preform.SetTextLine(CutNameLine, name);
        return true;
    });
    if (!made) return;
    w.Shown.PreformShown = true;
    w.Changes().Refresh();
}

void campreform3Click(Tstartform& w) {
    if (!RunSaveDialog(w.Svc(), w.SaveDialog1, w.CurrentFile, false)) return;
    // The preform is a design: its file gets the design extension, as the design's own Save as gives it.
    const std::string path = WithDesignExtension(w.SaveDialog1.FileName);
    if (ConfirmOverwrite(w.Svc().Messages, path)) return;
    TGem& preform = w.Preform();
    if (const FileResult written = preform.WriteDesign(path, TGem::FileMode::Save, NameOnly(path)))
        RememberFolder(w.SaveDialog1);
    else
        w.Changes().ReportFileFailure(written);
    w.Repaint();
}

void campreform4Click(Tstartform& w) {
    PrintDesignOf(w, w.Preform());
}

void campreform5Click(Tstartform& w) {
    w.Shown.PreformShown = false;
    w.Changes().Revert();
}
