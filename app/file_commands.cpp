// File commands: new designs, open, reopen, save, save as, undo, redo and exit.
#include "app/commands.h"

#include "app/command_host.h"
#include "app/file_questions.h"
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
void OpenChosenDesign(CommandHost& w, const std::string& chosen) {
    w.Display().SelectedFacet = NoneFound;
    if (FileMustExist(w.Svc().Messages, chosen)) return;
    w.OpenDesign(chosen);
}
} // namespace

Answer AskSaveChanges(CommandHost& w) {
    if (!w.Changes().History().CanUndo()) return Answer::No;
    w.Svc().Messages.Beep();
    const Answer answer = w.Svc().Messages.Confirm("File changed; save changes");
    if (answer != Answer::Yes) return answer;
    return SaveAs(w, w.DesignFile()) ? Answer::Yes : Answer::Cancel;
}

void New1Click(CommandHost& w) {
    CopyVersionText(w);
    if (AskSaveChanges(w) == Answer::Cancel) return;
    TForm6& form = DialogOf<TForm6>(w);
    form.Preset("96", "8", "0", true);
    w.SetChecked("ShowOutline1", false);
    w.Design().DropOutline();
    w.SetOutlineDesign(false);
    FileNaming unnamed = w.Naming();
    unnamed.Name.clear();
    w.SetNaming(unnamed);
    w.ShowModal(form);
}

void Newwithoutline1Click(CommandHost& w) {
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
        w.SetOutlineDesign(true);
    }
    w.Repaint();
}

void Open1Click(CommandHost& w) {
    CopyVersionText(w);
    if (AskSaveChanges(w) == Answer::Cancel) return;
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::OpenDesign);
    dialog.FileName = NameOnly(dialog.FileName);
    if (!RunOpenDialog(w.Svc(), dialog)) return;
    OpenChosenDesign(w, dialog.FileName);
}

void OpenDroppedDesign(CommandHost& w, const std::string& path) {
    if (AskSaveChanges(w) == Answer::Cancel) return;
    OpenChosenDesign(w, path);
}

void f1Click(CommandHost& w, QAction& slot) {
    CopyVersionText(w);
    if (AskSaveChanges(w) == Answer::Cancel) return;
    const std::string name = Treopen::FileOfCaption(slot.text().toStdString());
    if (FileMustExist(w.Svc().Messages, name)) {
        w.RemoveRecentFile(name);
        return;
    }
    w.Display().SelectedFacet = NoneFound;
    w.FileDialog(FileDialogKind::OpenDesign).InitialDir = FolderOf(name);
    if (!w.OpenDesign(name)) w.RemoveRecentFile(name);
}

void Save1Click(CommandHost& w) {
    FileNaming naming = w.Naming();
    if (naming.File.empty())
        SaveAs(w, "");
    else if (naming.NotChosen && ConfirmOverwrite(w.Svc().Messages, naming.File))
        return; // a name the program gave: an existing file of that name is replaced only when the user says
                // so
    else if (w.Changes().Save(naming.File, NameOnly(naming.File)) != ChangeRunner::Saved::No) {
        naming.NotChosen = false;
        w.SetNaming(naming);
    }
}

void SaveAs1Click(CommandHost& w) {
    SaveAs(w, w.DesignFile());
}

bool SaveAs(CommandHost& w, const std::string& name) {
    FileDialogRequest& saveDialog = w.FileDialog(FileDialogKind::SaveDesign);
    FileDialogRequest& openDialog = w.FileDialog(FileDialogKind::OpenDesign);
    const std::string current = w.DesignFile();
    saveDialog.InitialDir = current.empty() ? openDialog.InitialDir : FolderOf(current);
    if (!RunSaveDialog(w.Svc(), saveDialog, name, false)) return false;
    const std::string folder = WithoutTrailingSeparator(FolderOf(saveDialog.FileName));
    const std::string base = NameOnly(saveDialog.FileName);
    const std::string suffix = name.empty() ? TypeSuffix(w.Design(), base) : "";
    const std::string path = folder + "/" + base + suffix + ".lfx";
    if (ConfirmOverwrite(w.Svc().Messages, path)) return false;
    // A failed write leaves the design, its file name and the old file as they were.
    const FileNaming kept = w.Naming();
    w.KeepZoomFor(path);   // the design keeps its zoom under its new name
    w.SetDesignFile(path); // the title of the step the save records
    const ChangeRunner::Saved saved = w.Changes().Save(path, NameOnly(path));
    if (saved == ChangeRunner::Saved::No) {
        w.RestoreNaming(kept);
        return false;
    }
    if (saved == ChangeRunner::Saved::Yes)
        w.AddRecentFile(path);
    else
        w.RemoveRecentFile(path);
    openDialog.InitialDir = folder + "/";
    openDialog.FileName = w.DesignName();
    return true;
}

void Exit1Click(CommandHost& w) {
    w.QuitCommand();
}

void Undo2Click(CommandHost& w) {
    w.Display().SelectedFacet = NoneFound;
    w.Changes().Undo();
}

void Redo1Click(CommandHost& w) {
    w.Changes().Redo();
}
