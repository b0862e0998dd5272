// Printing and pictures: the design sheet on half a page or across a full page, the facet listing as
// text, and the sheet as an enhanced metafile.
#include "app/commands.h"

#include "app/command_host.h"
#include "app/file_questions.h"
#include "gem/numtext.h"
#include "platform/emf_surface.h"
#include "platform/sheet_printing.h"

#include <algorithm>

namespace {
// The part of the sheet that a picture clears before the sheet is drawn, in canvas units.
constexpr Real PictureClearWidth = 620, PictureClearHeight = 460;

int ClientWidth(const CommandHost& w) {
    return std::max(1, w.ClientSize().width());
}

int ClientHeight(const CommandHost& w) {
    return std::max(1, w.ClientSize().height());
}

// A print lays the sheet out by the screen canvas and leaves the views on the printer's canvas; the
// screen takes them back afterwards, since the mouse readout reads the top view. A job that failed is
// reported here.
void PrintSheet(CommandHost& w, FileResult (*print)(PrinterService&, const PrintTarget&, const TGem&),
                const TGem& design) {
    w.Repaint();
    w.Changes().ReportFileFailure(
        print(w.Svc().Printer, {w.Sheet(), w.PrintCanvas(), ClientWidth(w), ClientHeight(w)}, design));
    w.Repaint();
}

// Draws on the picture through the screen canvas and gives the window's surface back also when the
// drawing fails.
class PictureCanvas {
  public:
    PictureCanvas(TUserCanvas& canvas, DrawSurface& picture) : canvas_(canvas), window_(canvas.Canvas) {
        canvas_.Canvas = &picture;
    }
    ~PictureCanvas() { canvas_.Canvas = window_; }
    PictureCanvas(const PictureCanvas&) = delete;
    PictureCanvas& operator=(const PictureCanvas&) = delete;

  private:
    TUserCanvas& canvas_;
    DrawSurface* window_;
};

} // namespace

void PrintDesignOf(CommandHost& w, const TGem& design) {
    PrintSheet(w, PrintDesign, design);
}

void Print1Click(CommandHost& w) {
    PrintDesignOf(w, w.Design());
}

void Printfullpage1Click(CommandHost& w) {
    PrintSheet(w, PrintFullPage, w.Design());
}

void printfacetdata1Click(CommandHost& w) {
    w.Changes().ReportFileFailure(PrintFacetData(w.Svc().Printer, w.Design(), w.DesignFile()));
}

void Makepicture1Click(CommandHost& w) {
    FileDialogRequest& dialog = w.FileDialog(FileDialogKind::SavePicture);
    if (!RunSaveDialog(w.Svc(), dialog, w.DesignFile(), true)) return;
    const std::string path = dialog.FileName;
    // The picture has the client area's size in screen pixels, whatever the screen's scale.
    EmfSurface picture(ClientWidth(w), ClientHeight(w));
    {
        TUserCanvas& canvas = w.ScreenCanvas();
        PictureCanvas swap(canvas, picture);
        w.Sheet().SetUpScreen(canvas, &picture, ClientWidth(w), ClientHeight(w));
        canvas.FillRect(ColourWhite, 0, 0, PictureClearWidth, PictureClearHeight);
        w.Sheet().DrawDesign(w.Design(), canvas);
    }
    const FileResult saved = picture.Save(QString::fromStdString(path));
    if (saved) RememberFolder(dialog);
    w.Changes().ReportFileFailure(saved);
    w.Repaint();
}
