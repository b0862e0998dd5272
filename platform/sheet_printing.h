// The print commands on any printer: the design sheet on half a page, the full-page sheet, and the
// facet listing as text. The window and lapidraw-tool run this same code on their printers.
#pragma once

#include "services/printing.h"
#include "services/services.h"
#include "sheet/design_sheet.h"
#include "sheet/faceting_diagram.h"

#include <stdexcept>
#include <string>

// A print job that could not be begun or completed.
class PrintJobError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What a print draws with: the sheet (laid out by its screen canvas), the printer's canvas and the
// size of the window's client area, whose proportions the printed sheet keeps.
struct PrintTarget {
    TDesignSheet& Sheet;
    TUserCanvas& PrintCanvas;
    int ClientWidth, ClientHeight;
};

inline constexpr int PrinterPenWidth = 2;
inline constexpr int FramePenWidth = 1;

// The whole sheet on half a page: a pavilion in the upper half, a crown in the lower half. False when
// the printer set-up was cancelled; PrintJobError when the job failed (it is ended in any case).
bool PrintDesign(PrinterService& printer, const PrintTarget& target, const TGem& design);
// The top view, the data panel, the upright side view, the table in long blocks and the text lines,
// framed, across the page.
bool PrintFullPage(PrinterService& printer, const PrintTarget& target, const TGem& design);
// The facet listing as text, its page heads naming file. Answers 0, or the I/O error code after the
// error box when the printer could not be written.
int PrintFacetData(PrinterService& printer, MessageService& messages, const TGem& design,
                   const std::string& file);

// The faceting diagram on one portrait page of the chosen printer. False when the set-up dialog was
// cancelled; a PrintJobError when the job fails.
bool PrintFacetingDiagram(PrinterService& printer, const FacetingDiagram& diagram);
