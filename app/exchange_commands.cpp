// Exchange commands: ASC files of the outside design program (import of a crown or a pavilion, export of
// the current half), girdle outlines (save and read), and files dropped on the window.
#include "app/commands.h"

#include "app/command_host.h"
#include "app/file_questions.h"
#include "app/partner_source.h"
#include "dialogs/design_library_dialog.h"
#include "dialogs/export3d_dialog.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace {
constexpr const char* DesignExtension = ".lfx";
constexpr const char* AscExtension = ".asc";
constexpr const char* OutlineExtension = ".otl";

// The import starts a new undo history, whose first snapshot takes the file of the current history's
// first one. That file is kept aside until the new design is built, so that an import that fails
// half-way leaves the design's history as it was.
class FirstSnapshotKept {
  public:
    explicit FirstSnapshotKept(const UndoHistory& history) {
        if (history.Top() < 0) return;
        std::ifstream in(history.StepFile(0), std::ios::binary);
        std::ostringstream bytes;
        if (!(bytes << in.rdbuf())) return;
        Path = history.StepFile(0);
        Bytes = bytes.str();
    }
    void PutBack() const {
        if (!Path.empty()) std::ofstream(Path, std::ios::binary | std::ios::trunc) << Bytes;
    }

  private:
    std::string Path, Bytes;
};

// The import of an ASC file chosen or dropped: read, built from the import buffer, named after the file
// in its folder, and committed through the change runner, so that one undo goes back to the empty
// design of the file's gear and symmetry. Nothing changes when the file cannot be read or the model
// refuses it; a failure half-way leaves the design and its history as they were.
} // namespace

void ImportAscFile(CommandHost& w, char side, const std::string& path) {
    if (FileMustExist(w.Svc().Messages, path)) return;
    if (const FileResult read = w.Design().ReadAsc(path); !read) return w.Changes().ReportFileFailure(read);
    const std::string name = NameOnly(path) + (side == 'c' ? "c" : "p");
    const std::string file = FolderOf(path) + name + DesignExtension;
    UndoHistory& history = w.Changes().History();
    const FirstSnapshotKept firstSnapshot(history);
    FileResult imported;
    w.Display().SelectedFacet = NoneFound;
    w.SetChecked("ShowOutline1", false);
    const FileNaming kept = w.Naming();
    w.SetNaming({file, name, kept.NotChosen}); // the title of the step the import records
    // The empty design is the import's first undo step. Without it (no temporary folder) the import
    // still stands: the step the commit records shows that failure.
    const auto recordEmpty = [&history](TGem& empty) {
        history.StartNew();
        static_cast<void>(history.Record(empty));
    };
    const bool built = w.Changes().Commit([side, &file, &imported, &recordEmpty](TGem& design) {
        imported = design.ImportAsc(side, recordEmpty);
        if (!imported) return false;
        design.SetTextLine(FileNameLine, "Filename: " + NameOnly(file) + DesignExtension);
        return true;
    });
    if (built) {
        w.Partner().Choose(file, path);  // the file's other half is the design's partner
        w.SetNaming({file, name, true}); // the first Save asks before it replaces a file of this name
        w.FileDialog(FileDialogKind::OpenAsc).InitialDir = FolderOf(path);
        return;
    }
    w.RestoreNaming(kept);
    firstSnapshot.PutBack();
    w.Changes().ReportFileFailure(imported);
}

namespace {
void ImportSide(CommandHost& w, char side) {
    if (AskSaveChanges(w) == Answer::Cancel) return;
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::OpenAsc);
    if (!RunOpenDialog(w.Svc(), dialog)) return;
    ImportAscFile(w, side, dialog.FileName);
}

// Reads the outline and shows it; the design may then start anew from it ("New with outline").
void ReadOutlineFile(CommandHost& w, const std::string& path) {
    w.Display().SelectedFacet = NoneFound;
    if (FileMustExist(w.Svc().Messages, path)) return;
    if (const FileResult read = w.Design().ReadOutline(path); !read)
        return w.Changes().ReportFileFailure(read);
    w.SetChecked("ShowOutline1", false);
    w.ShowItem("ShowOutline1", true);
    w.ToggleOutline(); // reads the outline again, shows it and checks the item
    w.SetOutlineDesign(true);
    // Only these two items change: the other menus stay as they are (right after start-up, hidden).
    w.ShowItem("Newwithoutline1", w.Design().OutlineFileExists() && !w.Rotating());
    w.FileDialog(FileDialogKind::OpenOutline).InitialDir = FolderOf(path);
    w.Repaint();
}

std::string LowerExtension(const std::string& path) {
    const std::string name = path.substr(FolderOf(path).size());
    const auto dot = name.find_last_of('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}
} // namespace

void Importcrown1Click(CommandHost& w) {
    ImportSide(w, 'c');
}

void Importpav1Click(CommandHost& w) {
    ImportSide(w, 'p');
}

void importfile1Click(CommandHost& w) {
    ImportSide(w, 'c');
}

void Makeascfile1Click(CommandHost& w) {
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::SaveAsc);
    if (!RunSaveDialog(w.Svc(), dialog, w.DesignFile(), true)) return;
    if (const FileResult written = w.Design().WriteAsc(dialog.FileName); !written)
        return w.Changes().ReportFileFailure(written);
    RememberFolder(dialog);
}

void Readoutline1Click(CommandHost& w) {
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::OpenOutline);
    if (!RunOpenDialog(w.Svc(), dialog)) return;
    ReadOutlineFile(w, dialog.FileName);
}

void SaveOutline1Click(CommandHost& w) {
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::SaveOutline);
    if (!RunSaveDialog(w.Svc(), dialog, w.DesignFile(), true)) return;
    const std::string path = dialog.FileName;
    if (const FileResult saved = w.Design().SaveOutline(path); !saved)
        return w.Changes().ReportFileFailure(saved);
    if (const FileResult read = w.Design().ReadOutline(path); !read)
        return w.Changes().ReportFileFailure(read);
    RememberFolder(dialog);
    w.SetChecked("ShowOutline1", true);
    w.Changes().Refresh();
}

void OpenDroppedFile(CommandHost& w, const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == DesignExtension) {
        OpenDroppedDesign(w, path);
    } else if (extension == AscExtension) {
        if (AskSaveChanges(w) == Answer::Cancel) return;
        ImportAscFile(w, 'c', path);
    } else if (extension == OutlineExtension) {
        ReadOutlineFile(w, path);
    } else {
        w.Changes().Report(" File " + path + " is not a design, ASC or outline file");
    }
}

void Designlibrary1Click(CommandHost& w) {
    TDesignLibraryDialog dialog(w.DialogParent(), DesignLibrary::DefaultPath());
    w.ShowModal(dialog);
    if (!dialog.Chosen) return;
    const std::string& path = dialog.Chosen->Path;
    if (LowerExtension(path) != ".asc")
        return OpenDroppedDesign(w, path); // a design file opens as Open opens it
    if (AskSaveChanges(w) == Answer::Cancel) return;
    ImportAscFile(w, dialog.Chosen->Half, path);
}

void Export3d1Click(CommandHost& w) {
    TExport3dDialog dialog(w);
    w.ShowModal(dialog);
}
