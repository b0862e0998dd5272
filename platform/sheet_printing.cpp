#include "platform/sheet_printing.h"

#include "gem/numtext.h"
#include "sheet/facet_listing.h"
#include "sheet/page_layout.h"

namespace {
// The canvas a printer page starts with, before the page's own size is known.
constexpr int InitialDeviceSize = 100;
constexpr Real MarginCm = 1;

// A job on the printer, ended when it goes out of scope unless End ended it.
class PrintJob {
  public:
    explicit PrintJob(PrinterService& printer) : printer_(printer), open_(printer.BeginJob()) {}
    ~PrintJob() {
        if (open_) printer_.EndJob();
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    bool Begun() const { return open_; }
    // False when the printer could not complete the job.
    bool End() {
        open_ = false;
        return printer_.EndJob();
    }

  private:
    PrinterService& printer_;
    bool open_;
};

// Begins a job, draws it and ends it.
template <class Draw> FileResult RunJob(PrinterService& printer, Draw draw) {
    PrintJob job(printer);
    if (!job.Begun()) return FileResult::Failure("Cannot print: the printer could not be opened");
    draw();
    if (!job.End()) return FileResult::Failure("Cannot print: the print job could not be completed");
    return {};
}

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

// The printer set-up dialog answered Cancel: nothing printed, and nothing to report.
FileResult Cancelled() {
    return FileResult::NothingToRead();
}

// The text printer could not be written: its I/O error code in the message.
FileResult PrinterFailure(int code) {
    return FileResult::Failure(" Cannot write to printer . Error: " + fixed(code, 4, 0));
}
} // namespace

FileResult PrintDesign(PrinterService& printer, const PrintTarget& target, const TGem& design) {
    if (!SetUpPortrait(printer)) return Cancelled();
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
    return RunJob(printer, [&] {
        canvas.Canvas->SetPenWidth(PrinterPenWidth);
        target.Sheet.DrawDesign(design, canvas);
    });
}

FileResult PrintFullPage(PrinterService& printer, const PrintTarget& target, const TGem& design) {
    if (!SetUpPortrait(printer)) return Cancelled();
    PreparePage(printer, target);
    TUserCanvas& canvas = target.PrintCanvas;
    canvas.SetWorldIsotropic(1, 0, 0, TDesignSheet::WorldWidth);
    return RunJob(printer, [&] {
        canvas.Canvas->SetPenWidth(PrinterPenWidth);
        target.Sheet.DrawFullPage(design, canvas);
        canvas.Canvas->SetPenWidth(FramePenWidth);
        DrawFullPageFrame(target.Sheet, canvas);
    });
}

FileResult PrintFacetData(PrinterService& printer, const TGem& design, const std::string& file) {
    if (!SetUpPortrait(printer)) return Cancelled();
    if (const int code = printer.OpenText()) return PrinterFailure(code);
    printer.WriteText(FacetListingText(design, file));
    if (const int code = printer.CloseText()) return PrinterFailure(code);
    return {};
}

FileResult PrintFacetingDiagram(PrinterService& printer, const FacetingDiagram& diagram) {
    if (!SetUpPortrait(printer)) return Cancelled();
    return RunJob(printer, [&] { DrawFacetingDiagram(printer.Page(), diagram); });
}
