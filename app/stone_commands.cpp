// The whole stone of the open design and its partner half: the window that shows it, the commands that
// scale one half to the other and open or choose the partner, and the faceting diagram on the printer or
// in a file.
#include "app/commands.h"

#include "app/command_host.h"
#include "app/file_questions.h"
#include "app/partner_source.h"
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
bool MakeDiagram(CommandHost& w, DiagramOfDesign& made) {
    const TGem& design = w.Design();
    const TGem* partner = w.PartnerHalf();
    if (const FileResult stone = MakeStoneOf(design, partner, made.WholeStone); !stone) {
        w.Svc().Messages.ShowError(stone.Error().Message);
        return false;
    }
    const TGem* crown = design.IsCrown() ? &design : partner;
    const TGem* pavilion = design.IsCrown() ? partner : &design;
    made.Diagram = DiagramOf(crown, pavilion, made.WholeStone, w.DesignName());
    return true;
}
} // namespace

void Wholestone1Click(CommandHost& w) {
    TWholeStoneWindow& window = DialogOf<TWholeStoneWindow>(w);
    window.show();
    window.Refresh();
    window.raise();
    window.activateWindow();
}

void Scaletopartner1Click(CommandHost& w) {
    ScaleToPartner(w);
}

// The partner opens as File > Open opens a design (an ASC file's other half is imported), and the
// design left becomes its partner.
void Openpartner1Click(CommandHost& w) {
    if (!w.PartnerHalf()) return w.Svc().Messages.ShowError(w.PartnerProblem());
    const std::string partner = w.PartnerFile(), left = w.DesignFile();
    const char side = w.Design().IsCrown() ? 'p' : 'c';
    if (AskSaveChanges(w) == Answer::Cancel) return;
    if (HasAscExtension(partner)) return ImportAscFile(w, side, partner);
    w.Display().SelectedFacet = NoneFound;
    if (!w.OpenDesign(partner)) return;
    if (!left.empty()) w.Partner().Choose(partner, left);
    w.Repaint();
}

void Choosepartner1Click(CommandHost& w) {
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::OpenPartner);
    if (!RunOpenDialog(w.Svc(), dialog)) return;
    const std::string chosen = dialog.FileName;
    if (FileMustExist(w.Svc().Messages, chosen)) return;
    PartnerSource& partner = w.Partner();
    const auto [design, source] = partner.Origin();
    partner.Choose(w.DesignFile(), chosen);
    if (!w.PartnerHalf()) {
        w.Svc().Messages.ShowError(w.PartnerProblem());
        partner.Choose(design, source);
    } else {
        RememberFolder(dialog);
    }
    w.Repaint();
}

void Printdiagram1Click(CommandHost& w) {
    DiagramOfDesign made;
    if (!MakeDiagram(w, made)) return;
    w.Changes().ReportFileFailure(PrintFacetingDiagram(w.Svc().Printer, made.Diagram));
}

// A PDF, SVG or PNG file of the page, by the extension chosen (PDF when none).
void Savediagram1Click(CommandHost& w) {
    DiagramOfDesign made;
    if (!MakeDiagram(w, made)) return;
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::SaveDiagram);
    if (!RunSaveDialog(w.Svc(), dialog, w.DesignName() + "-diagram", true)) return;
    QString path = QString::fromStdString(dialog.FileName);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "pdf" && suffix != "svg" && suffix != "png") path += ".pdf";
    const PagePixels page = DiagramPage(Paper::A4);
    PictureFile picture(PictureFormatOf(path), page.Width, page.Height);
    DrawFacetingDiagram(*picture.Surface(), made.Diagram);
    if (const FileResult saved = picture.Save(path); !saved) return w.Changes().ReportFileFailure(saved);
    RememberFolder(dialog);
}
