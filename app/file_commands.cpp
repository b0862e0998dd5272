// File commands: new designs, open, reopen, save, save as, undo, redo and exit.
#include "app/commands.h"

#include "app/file_questions.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "dialogs/new_design_dialog.h"
#include "gem/numtext.h"

#include <QAction>
#include <cctype>

namespace {
// A design never saved gets the letter of its type unless its name already ends with it.
std::string TypeSuffix(const TGem& design, const std::string& base) {
    const char last =
        base.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(base.back())));
    if (design.IsCrown() && last != 'c') return "c";
    if (design.IsPavilion() && last != 'p') return "p";
    return "";
}

// Open after its file dialog: the design file chosen becomes the current design.
void OpenChosenDesign(Tstartform& w, const std::string& chosen) {
    w.Shown.SelectedFacet = NoneFound;
    if (FileMustExist(w.Svc().Messages, chosen)) return;
    w.OpenDesign(chosen);
}
} // namespace

Answer AskSaveChanges(Tstartform& w) {
    if (!w.Changes().History().CanUndo()) return Answer::No;
    w.Svc().Messages.Beep();
    const Answer answer = w.Svc().Messages.Confirm("File changed; save changes");
    if (answer != Answer::Yes) return answer;
    return SaveAs(w, w.CurrentFile) ? Answer::Yes : Answer::Cancel;
}

void New1Click(Tstartform& w) {
    CopyVersionText(w);
    if (AskSaveChanges(w) == Answer::Cancel) return;
    TForm6& form = DialogOf<TForm6>(w);
    form.Preset("96", "8", "0", true);
    w.SetChecked("ShowOutline1", false);
    w.Design().OutlineShown = false;
    w.OutlineDesign = false;
    w.DesignName.clear();
    w.ShowModal(form);
}

void Newwithoutline1Click(Tstartform& w) {
    if (AskSaveChanges(w) == Answer::Cancel) return;
    CopyVersionText(w);
    if (!w.ReadOutlineReported()) return;
    const TGem& d = w.Design();
    TForm6& form = DialogOf<TForm6>(w);
    form.Preset(QString::fromStdString(PadLeft(IntText(d.OutlineSystemIndex), 4)),
                QString::fromStdString(PadLeft(IntText(d.OutlineParts), 2)),
                QString::fromStdString(PadLeft(IntText(d.OutlineOffset), 3)), d.OutlineMirror == 'm');
    // Cancel, Escape and the close button all leave the dialog without a new design.
    if (w.ShowModal(form)) {
        // The new design has dropped the outline: read it again so that it shows.
        w.SetChecked("ShowOutline1", true);
        if (const FileResult read = w.Design().ReadOutline(""); !read) w.Changes().ReportFileFailure(read);
        w.Design().SetOutlineShown(true);
        w.OutlineDesign = true;
    }
    w.Repaint();
}

void Open1Click(Tstartform& w) {
    CopyVersionText(w);
    if (AskSaveChanges(w) == Answer::Cancel) return;
    w.OpenDialog1.FileName = NameOnly(w.OpenDialog1.FileName);
    if (!RunOpenDialog(w.Svc(), w.OpenDialog1)) return;
    OpenChosenDesign(w, w.OpenDialog1.FileName);
}

void OpenDroppedDesign(Tstartform& w, const std::string& path) {
    if (AskSaveChanges(w) == Answer::Cancel) return;
    OpenChosenDesign(w, path);
}

void f1Click(Tstartform& w, QAction& slot) {
    CopyVersionText(w);
    if (AskSaveChanges(w) == Answer::Cancel) return;
    const std::string name = Treopen::FileOfCaption(slot.text().toStdString());
    if (FileMustExist(w.Svc().Messages, name)) {
        w.RecentFiles->Remove(name);
        return;
    }
    w.Shown.SelectedFacet = NoneFound;
    w.OpenDialog1.InitialDir = FolderOf(name);
    if (!w.OpenDesign(name)) w.RecentFiles->Remove(name);
}

void Save1Click(Tstartform& w) {
    if (w.CurrentFile.empty())
        SaveAs(w, "");
    else if (w.FileNotChosen && ConfirmOverwrite(w.Svc().Messages, w.CurrentFile))
        return; // a name the program gave: an existing file of that name is replaced only when the user says
                // so
    else if (w.Changes().Save(w.CurrentFile, NameOnly(w.CurrentFile)) != ChangeRunner::Saved::No)
        w.FileNotChosen = false;
}

void SaveAs1Click(Tstartform& w) {
    SaveAs(w, w.CurrentFile);
}

bool SaveAs(Tstartform& w, const std::string& name) {
    w.SaveDialog1.InitialDir = w.CurrentFile.empty() ? w.OpenDialog1.InitialDir : FolderOf(w.CurrentFile);
    if (!RunSaveDialog(w.Svc(), w.SaveDialog1, name, false)) return false;
    const std::string folder = WithoutTrailingSeparator(FolderOf(w.SaveDialog1.FileName));
    const std::string base = NameOnly(w.SaveDialog1.FileName);
    const std::string suffix = name.empty() ? TypeSuffix(w.Design(), base) : "";
    const std::string path = folder + "/" + base + suffix + ".lfx";
    if (ConfirmOverwrite(w.Svc().Messages, path)) return false;
    // A failed write leaves the design, its file name and the old file as they were.
    const Tstartform::FileNaming kept = w.Naming();
    w.ZoomByDesign[path] = w.Sheet.Zoom; // the design keeps its zoom under its new name
    w.SetDesignFile(path);               // the title of the step the save records
    const ChangeRunner::Saved saved = w.Changes().Save(path, NameOnly(path));
    if (saved == ChangeRunner::Saved::No) {
        w.RestoreNaming(kept);
        return false;
    }
    if (saved == ChangeRunner::Saved::Yes)
        w.RecentFiles->Add(path);
    else
        w.RecentFiles->Remove(path);
    w.OpenDialog1.InitialDir = folder + "/";
    w.OpenDialog1.FileName = w.DesignName;
    return true;
}

void Exit1Click(Tstartform& w) {
    w.QuitCommand();
}

void Undo2Click(Tstartform& w) {
    w.Shown.SelectedFacet = NoneFound;
    w.Changes().Undo();
}

void Redo1Click(Tstartform& w) {
    w.Changes().Redo();
}

// ---- Opening a design, shared by Open, Reopen and the command line ----

bool Tstartform::OpenDesign(const std::string& name) {
    const FileNaming kept = Naming();
    SetDesignFile(name); // the title of the step the open records
    if (!Runner.Open(name)) {
        RestoreNaming(kept); // the design in memory is still the previous one
        return false;
    }
    RecentFiles->Add(CurrentFile);
    SetChecked("ShowOutline1", false);
    OpenDialog1.InitialDir = FolderOf(CurrentFile);
    OpenDialog1.FileName = DesignName;
    return true;
}
