#include "platform/sheet_printing.h"

#include "gem/numtext.h"
#include "sheet/facet_listing.h"
#include "sheet/page_layout.h"

namespace {
// The canvas a printer page starts with, before the page's own size is known.
constexpr int InitialDeviceSize = 100;
constexpr Real MarginCm = 1;

// Begins a job on the printer and ends it when the printing is done or has failed.
class PrintJob {
  public:
    explicit PrintJob(PrinterService& printer) : printer_(printer) {
        if (!printer_.BeginJob()) throw PrintJobError("Cannot print: the printer could not be opened");
    }
    ~PrintJob() {
        if (open_) printer_.EndJob();
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    void End() {
        open_ = false;
        if (!printer_.EndJob()) throw PrintJobError("Cannot print: the print job could not be completed");
    }

  private:
    PrinterService& printer_;
    bool open_ = true;
};

// The printer set-up dialog, then portrait pages; false when the dialog was cancelled.
bool SetUpPortrait(PrinterService& printer) {
    if (!printer.SetUp()) return false;
    printer.SetPortrait();
    return true;
}

// The printer canvas on the chosen page, with 1 cm margins and the window's proportions.
void PreparePage(PrinterService& printer, const PrintTarget& target) {
    TUserCanvas& canvas = target.PrintCanvas;
    canvas.Init(&printer.Page(), InitialDeviceSize, InitialDeviceSize);
    canvas.SetPrinterMargins(MarginCm, MarginCm, MarginCm, target.ClientWidth, target.ClientHeight);
}

// The frame of the full page: across the top view and the data panel, and down to the side view.
void DrawFullPageFrame(const TDesignSheet& sheet, TUserCanvas& canvas) {
    const TView& page = sheet.PageView;
    const Real left = page.PortX1, right = sheet.DataView.PortX2;
    const Real top = page.PortY1, bottom = sheet.LowerLeftView.PortY2;
    for (Real y : {top, page.PortY2, bottom})
        canvas.Line(left, y, right, y);
    for (Real x : {page.PortX2, left, right})
        canvas.Line(x, top, x, bottom);
}

int ReportPrinterError(MessageService& messages, int code) {
    messages.Beep();
    messages.ShowError(" Cannot write to printer . Error: " + fixed(code, 4, 0));
    return code;
}
} // namespace

bool PrintDesign(PrinterService& printer, const PrintTarget& target, const TGem& design) {
    if (!SetUpPortrait(printer)) return false;
    PreparePage(printer, target);
    TUserCanvas& canvas = target.PrintCanvas;
    int vertMm = 0, horzMm = 0, heightPx = 0, widthPx = 0, physX = 0, physY = 0;
    canvas.GetPrinterMetrics(vertMm, horzMm, heightPx, widthPx, physX, physY);
    const HalfPageLayout layout =
        LayOutHalfPages(horzMm, vertMm, widthPx, target.ClientWidth, target.ClientHeight);
    const bool upperHalf = design.IsPavilion();
    const int top = upperHalf ? layout.Top1 : layout.Top2;
    const int bottom = upperHalf ? layout.Bottom1 : layout.Bottom2;
    canvas.SetViewport(layout.Left, top, layout.Right - layout.Left, bottom - top);
    canvas.SetWorldIsotropic(1, 0, 0, TDesignSheet::WorldWidth);
    PrintJob job(printer);
    canvas.Canvas->SetPenWidth(PrinterPenWidth);
    target.Sheet.DrawDesign(design, canvas);
    job.End();
    return true;
}

bool PrintFullPage(PrinterService& printer, const PrintTarget& target, const TGem& design) {
    if (!SetUpPortrait(printer)) return false;
    PreparePage(printer, target);
    TUserCanvas& canvas = target.PrintCanvas;
    canvas.SetWorldIsotropic(1, 0, 0, TDesignSheet::WorldWidth);
    PrintJob job(printer);
    canvas.Canvas->SetPenWidth(PrinterPenWidth);
    target.Sheet.DrawFullPage(design, canvas);
    canvas.Canvas->SetPenWidth(FramePenWidth);
    DrawFullPageFrame(target.Sheet, canvas);
    job.End();
    return true;
}

int PrintFacetData(PrinterService& printer, MessageService& messages, const TGem& design,
                   const std::string& file) {
    if (!SetUpPortrait(printer)) return 0;
    if (const int code = printer.OpenText()) return ReportPrinterError(messages, code);
    printer.WriteText(FacetListingText(design, file));
    if (const int code = printer.CloseText()) return ReportPrinterError(messages, code);
    return 0;
}

bool PrintFacetingDiagram(PrinterService& printer, const FacetingDiagram& diagram) {
    if (!SetUpPortrait(printer)) return false;
    PrintJob job(printer);
    DrawFacetingDiagram(printer.Page(), diagram);
    job.End();
    return true;
}
