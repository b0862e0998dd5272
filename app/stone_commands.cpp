// The whole stone of the open design and its partner half: the window that shows it, the commands that
// scale one half to the other and open or choose the partner, and the faceting diagram on the printer or
// in a file.
#include "app/commands.h"

#include "app/file_questions.h"
#include "app/main_window.h"
#include "dialogs/whole_stone_window.h"
#include "platform/picture_file.h"
#include "platform/sheet_printing.h"
#include "stone/stone.h"
#include "stone/stone_files.h"

#include <QFileInfo>
#include <filesystem>

namespace {
// The stone of the design and its partner (or of the design alone), with the diagram that shows it
// (which points at the stone, so the pair stays where it was made).
struct DiagramOfDesign {
    Stone WholeStone;
    FacetingDiagram Diagram;
    DiagramOfDesign() = default;
    DiagramOfDesign(const DiagramOfDesign&) = delete;
    DiagramOfDesign& operator=(const DiagramOfDesign&) = delete;
};

// False, after a message, when the halves make no stone.
bool MakeDiagram(Tstartform& w, DiagramOfDesign& made) {
    const TGem& design = w.Design();
    const TGem* partner = w.PartnerHalf();
    if (const FileResult stone = MakeStoneOf(design, partner, made.WholeStone); !stone) {
        w.Svc().Messages.ShowError(stone.Error().Message);
        return false;
    }
    const TGem* crown = design.IsCrown() ? &design : partner;
    const TGem* pavilion = design.IsCrown() ? partner : &design;
    made.Diagram = DiagramOf(crown, pavilion, made.WholeStone, w.DesignName);
    return true;
}
} // namespace

void Wholestone1Click(Tstartform& w) {
    TWholeStoneWindow& window = DialogOf<TWholeStoneWindow>(w);
    window.show();
    window.Refresh();
    window.raise();
    window.activateWindow();
}

void Scaletopartner1Click(Tstartform& w) {
    ScaleToPartner(w);
}

// The partner opens as File > Open opens a design (an ASC file's other half is imported), and the
// design left becomes its partner.
void Openpartner1Click(Tstartform& w) {
    if (!w.PartnerHalf()) return w.Svc().Messages.ShowError(w.PartnerProblem());
    const std::string partner = w.PartnerFile(), left = w.CurrentFile;
    const char side = w.Design().IsCrown() ? 'p' : 'c';
    if (AskSaveChanges(w) == Answer::Cancel) return;
    if (HasAscExtension(partner)) return ImportAscFile(w, side, partner);
    w.Shown.SelectedFacet = NoneFound;
    if (!w.OpenDesign(partner)) return;
    if (!left.empty()) w.Partner.Choose(partner, left);
    w.Repaint();
}

void Tstartform::OpenPartnerHalf() {
    Openpartner1Click(*this);
}

void Choosepartner1Click(Tstartform& w) {
    if (!RunOpenDialog(w.Svc(), w.OpenPartner)) return;
    const std::string chosen = w.OpenPartner.FileName;
    if (FileMustExist(w.Svc().Messages, chosen)) return;
    const auto [design, source] = w.Partner.Origin();
    w.Partner.Choose(w.CurrentFile, chosen);
    if (!w.PartnerHalf()) {
        w.Svc().Messages.ShowError(w.PartnerProblem());
        w.Partner.Choose(design, source);
    } else {
        RememberFolder(w.OpenPartner);
    }
    w.Repaint();
}

void Printdiagram1Click(Tstartform& w) {
    DiagramOfDesign made;
    if (!MakeDiagram(w, made)) return;
    w.Changes().ReportFileFailure(PrintFacetingDiagram(w.Svc().Printer, made.Diagram));
}

// A PDF, SVG or PNG file of the page, by the extension chosen (PDF when none).
void Savediagram1Click(Tstartform& w) {
    DiagramOfDesign made;
    if (!MakeDiagram(w, made)) return;
    if (!RunSaveDialog(w.Svc(), w.SaveDiagram, w.DesignName + "-diagram", true)) return;
    QString path = QString::fromStdString(w.SaveDiagram.FileName);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "pdf" && suffix != "svg" && suffix != "png") path += ".pdf";
    const PagePixels page = DiagramPage(Paper::A4);
    PictureFile picture(PictureFormatOf(path), page.Width, page.Height);
    DrawFacetingDiagram(*picture.Surface(), made.Diagram);
    if (!picture.Save(path)) {
        w.Svc().Messages.Beep();
        w.Svc().Messages.ShowError("Cannot write file " + path.toStdString());
        return;
    }
    RememberFolder(w.SaveDiagram);
}
