// Exchange commands: ASC files of the outside design program (import of a crown or a pavilion, export of
// the current half), girdle outlines (save and read), and files dropped on the window.
#include "app/commands.h"

#include "app/file_questions.h"
#include "app/main_window.h"
#include "dialogs/design_library_dialog.h"

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
    explicit FirstSnapshotKept(const TGem& design) {
        if (design.SnapshotTop < 0) return;
        std::ifstream in(design.SnapshotFile(0), std::ios::binary);
        std::ostringstream bytes;
        if (!(bytes << in.rdbuf())) return;
        Path = design.SnapshotFile(0);
        Bytes = bytes.str();
    }
    void PutBack() const {
        if (!Path.empty()) std::ofstream(Path, std::ios::binary | std::ios::trunc) << Bytes;
    }

  private:
    std::string Path, Bytes;
};

// Builds the side from the read import buffer through the change runner. False, with the design and
// its history as they were, when the model refused or failed (the user has been told).
bool BuildImportedSide(Tstartform& w, char side) {
    const FirstSnapshotKept firstSnapshot(w.Design());
    bool refused = false;
    const bool built = w.Preview([side, &refused](TGem& design) {
        refused = !design.ImportAsc(side);
        if (refused) return false;
        design.Recompute();
        return true;
    });
    if (built) return true;
    firstSnapshot.PutBack();
    if (refused) w.ReportFileFailure();
    return false;
}

// The import of an ASC file chosen or dropped: read, built, named after the file in its folder, and
// recorded, so that one undo goes back to the empty design of the file's gear and symmetry. Nothing
// changes when the file cannot be read.
void ImportAscFile(Tstartform& w, char side, const std::string& path) {
    if (FileMustExist(w.Svc().Messages, path)) return;
    if (!w.Design().ReadAsc(path)) {
        w.ReportFileFailure();
        return;
    }
    if (!BuildImportedSide(w, side)) return;
    w.DesignName = NameOnly(path) + (w.Design().IsCrown() ? "c" : "p");
    w.CurrentFile = FolderOf(path) + w.DesignName + DesignExtension;
    // A snapshot that could not be written is not read back: that would undo the import.
    const bool recorded = w.RecordStep();
    w.SetChecked("ShowOutline1", false);
    if (recorded) w.ReadReported("", TGem::FileMode::Reload);
    w.RefreshMenus();
    w.Design().SetTextLine(FileNameLine, "Filename: " + NameOnly(w.CurrentFile) + DesignExtension);
    w.Shown.SelectedFacet = NoneFound;
    w.Repaint();
}

void ImportSide(Tstartform& w, char side) {
    if (AskSaveChanges(w) == Answer::Cancel) return;
    if (!RunOpenDialog(w.Svc(), w.OpenDialog2)) return;
    ImportAscFile(w, side, w.OpenDialog2.FileName);
}

// Reads the outline and shows it; the design may then start anew from it ("New with outline").
void ReadOutlineFile(Tstartform& w, const std::string& path) {
    w.Shown.SelectedFacet = NoneFound;
    if (FileMustExist(w.Svc().Messages, path)) return;
    if (!w.Design().ReadOutline(path)) {
        w.ReportFileFailure();
        return;
    }
    w.SetChecked("ShowOutline1", false);
    w.ToggleOutline(); // reads the outline again, shows it and checks the item
    w.Design().OutlineShown = true;
    w.OutlineDesign = true;
    w.RefreshMenus(); // Show Outline and New with outline, now that the file exists
    w.OpenOutline.InitialDir = FolderOf(path);
    w.Invalidate();
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

void Importcrown1Click(Tstartform& w) {
    ImportSide(w, 'c');
}

void Importpav1Click(Tstartform& w) {
    ImportSide(w, 'p');
}

void importfile1Click(Tstartform& w) {
    ImportSide(w, 'c');
}

void Makeascfile1Click(Tstartform& w) {
    if (!RunSaveDialog(w.Svc(), w.SaveDialog2, w.CurrentFile, true)) return;
    if (!w.Design().WriteAsc(w.SaveDialog2.FileName)) w.ReportFileFailure();
}

void Readoutline1Click(Tstartform& w) {
    if (!RunOpenDialog(w.Svc(), w.OpenOutline)) return;
    ReadOutlineFile(w, w.OpenOutline.FileName);
}

void SaveOutline1Click(Tstartform& w) {
    if (!RunSaveDialog(w.Svc(), w.SaveOutline, w.CurrentFile, true)) return;
    const std::string path = w.SaveOutline.FileName;
    if (!w.Design().SaveOutline(path) || !w.Design().ReadOutline(path)) {
        w.ReportFileFailure();
        return;
    }
    w.Invalidate();
    w.SetChecked("ShowOutline1", true);
    w.RefreshMenus();
}

void OpenDroppedFile(Tstartform& w, const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == DesignExtension) {
        OpenDroppedDesign(w, path);
    } else if (extension == AscExtension) {
        if (AskSaveChanges(w) == Answer::Cancel) return;
        w.OpenDialog2.InitialDir = FolderOf(path);
        ImportAscFile(w, 'c', path);
    } else if (extension == OutlineExtension) {
        ReadOutlineFile(w, path);
    } else {
        w.Svc().Messages.Beep();
        w.Svc().Messages.ShowError(" File " + path + " is not a design, ASC or outline file");
    }
}

void Designlibrary1Click(Tstartform& w) {
    TDesignLibraryDialog dialog(w.DialogParent(), DesignLibrary::DefaultPath());
    w.ShowModal(dialog);
    if (!dialog.Chosen) return;
    const std::string& path = dialog.Chosen->Path;
    if (LowerExtension(path) != ".asc")
        return OpenDroppedDesign(w, path); // a design file opens as Open opens it
    if (AskSaveChanges(w) == Answer::Cancel) return;
    ImportAscFile(w, dialog.Chosen->Half, path);
}
