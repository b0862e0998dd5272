// The print commands on any printer: the design sheet on half a page, the full-page sheet, and the
// facet listing as text. The window and lapidraw-tool run this same code on their printers. Each answers
// done, cancelled (the printer set-up dialog answered Cancel: nothing to report) or the failure with the
// message the user is shown; the caller shows it.
#pragma once

#include "gem/file_error.h"
#include "services/printing.h"
#include "sheet/design_sheet.h"
#include "sheet/faceting_diagram.h"

#include <string>

// What a print draws with: the sheet (laid out by its screen canvas), the printer's canvas and the
// size of the window's client area, whose proportions the printed sheet keeps.
struct PrintTarget {
    TDesignSheet& Sheet;
    TUserCanvas& PrintCanvas;
    int ClientWidth, ClientHeight;
};

inline constexpr int PrinterPenWidth = 2;
inline constexpr int FramePenWidth = 1;

// The whole sheet on half a page: a pavilion in the upper half, a crown in the lower half. A job begun
// is ended in any case.
FileResult PrintDesign(PrinterService& printer, const PrintTarget& target, const TGem& design);
// The top view, the data panel, the upright side view, the table in long blocks and the text lines,
// framed, across the page.
FileResult PrintFullPage(PrinterService& printer, const PrintTarget& target, const TGem& design);
// The facet listing as text, its page heads naming file; a failure carries the printer's I/O error code
// in its message.
FileResult PrintFacetData(PrinterService& printer, const TGem& design, const std::string& file);

// The faceting diagram on one portrait page of the chosen printer.
FileResult PrintFacetingDiagram(PrinterService& printer, const FacetingDiagram& diagram);
