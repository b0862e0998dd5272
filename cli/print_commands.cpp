// listing and print: the facet listing text as the printer gets it, and the printed page written as a
// PDF file through the same code as the window's print commands.
#include "cli/tool.h"
#include "platform/qt_printing.h"
#include "platform/sheet_printing.h"
#include "sheet/facet_listing.h"
#include "sheet/recording_surface.h"

#include <QFileInfo>

#include <memory>

namespace {
// The client area of the window whose proportions the printed sheet keeps.
constexpr int ClientWidth = 800, ClientHeight = 600;

// The window names its design by the full path: so does the listing's page head.
std::string ShownPath(const QString& path) {
    return QFileInfo(path).absoluteFilePath().toStdString();
}
} // namespace

int RunListing(const ToolRequest& request) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    std::string text = FacetListingText(*gem, ShownPath(request.Input.Path));
    std::vector<std::string> aids;
    if (request.Instructions) aids = InstructionListingLines(*gem);
    if (request.Gear != 0)
        for (const std::string& line : GearListingLines(*gem, request.Gear))
            aids.push_back(line);
    for (const std::string& line : aids)
        text += line + "\r\n";
    return WriteStandardOutput(text);
}

int RunPrint(const ToolRequest& request) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    // The sheet is laid out by a screen canvas of the window's client size, as in the window.
    RecordingSurface screenSurface(ClientWidth, ClientHeight);
    auto screen = std::make_unique<TUserCanvas>();
    auto printCanvas = std::make_unique<TUserCanvas>();
    auto sheet = std::make_unique<TDesignSheet>();
    sheet->SetUpScreen(*screen, &screenSurface, ClientWidth, ClientHeight);
    const auto printer =
        QtPrinterService::PdfFile(request.Output, request.LetterPaper ? QPageSize::Letter : QPageSize::A4);
    const PrintTarget target{*sheet, *printCanvas, ClientWidth, ClientHeight};
    const FileResult printed =
        request.FullPage ? PrintFullPage(*printer, target, *gem) : PrintDesign(*printer, target, *gem);
    if (printed.Error().Empty()) return ExitOk;
    PrintError(QString("cannot write file %1 (%2)")
                   .arg(request.Output, QString::fromStdString(printed.Error().Message)));
    return ExitFileError;
}
