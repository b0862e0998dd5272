// listing and print: the facet listing text as the printer gets it, and the printed page written as a
// PDF file through the same code as the window's print commands.
#include "cli/tool.h"
#include "platform/qt_printing.h"
#include "platform/sheet_printing.h"
#include "world/facet_listing.h"
#include "world/recording_surface.h"

#include <QFileInfo>

#include <memory>

namespace {
// The client area of the window whose proportions the printed sheet keeps.
constexpr int ClientWidth = 800, ClientHeight = 600;

// The window names its design by the full path: so does the listing's page head.
std::string ShownPath(const QString& path) {
    return QFileInfo(path).absoluteFilePath().toStdString();
}

// Parses FILE and the input options (options of the command added to the parser beforehand).
std::optional<int> ParseFile(QCommandLineParser& parser, const QStringList& arguments,
                             const QString& description, InputOptions& input) {
    AddInputOptions(parser);
    QStringList values;
    if (auto stop = ParseArguments(parser, arguments, {"FILE"}, description, values)) return stop;
    return TakeInputOptions(parser, arguments.value(1), values[0], input);
}

int RunListing(const QStringList& arguments) {
    QCommandLineParser parser;
    InputOptions input;
    if (auto stop = ParseFile(parser, arguments,
                              "Writes the facet listing of FILE to standard output exactly as it is sent to "
                              "the printer: pages of 50 facets, CR LF line ends, a form feed before every "
                              "page after the first.",
                              input))
        return *stop;
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(input, *gem)) return ExitFileError;
    return WriteStandardOutput(FacetListingText(*gem, ShownPath(input.Path)));
}

int RunPrint(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption output({"o", "output"}, "The PDF file to write.", "OUT");
    const QCommandLineOption fullPage("full-page",
                                      "Print the full page instead of the design on half a page.");
    const QCommandLineOption paper("paper", "Paper size: A4 (default) or Letter.", "SIZE", "A4");
    parser.addOptions({output, fullPage, paper});
    InputOptions input;
    if (auto stop = ParseFile(parser, arguments,
                              "Prints the design sheet of FILE as the print commands of the window do (a "
                              "pavilion in the upper half of the page, a crown in the lower half), into the "
                              "PDF file OUT.",
                              input))
        return *stop;
    const QString out = parser.value(output);
    if (out.isEmpty()) return UsageError("print", "no output file given (-o OUT)");
    if (QFileInfo(out).suffix().toLower() != "pdf")
        return UsageError("print", QString("cannot write '%1': the output is a PDF file (.pdf)").arg(out));
    const QString paperName = parser.value(paper).toLower();
    if (paperName != "a4" && paperName != "letter")
        return UsageError("print", QString("unknown paper '%1' (A4 or Letter)").arg(parser.value(paper)));

    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(input, *gem)) return ExitFileError;
    // The sheet is laid out by a screen canvas of the window's client size, as in the window.
    RecordingSurface screenSurface(ClientWidth, ClientHeight);
    auto screen = std::make_unique<TUserCanvas>();
    auto printCanvas = std::make_unique<TUserCanvas>();
    auto sheet = std::make_unique<TDesignSheet>();
    sheet->SetUpScreen(*screen, &screenSurface, ClientWidth, ClientHeight);
    const auto printer =
        QtPrinterService::PdfFile(out, paperName == "letter" ? QPageSize::Letter : QPageSize::A4);
    const PrintTarget target{*sheet, *printCanvas, ClientWidth, ClientHeight};
    try {
        if (parser.isSet(fullPage))
            PrintFullPage(*printer, target, *gem);
        else
            PrintDesign(*printer, target, *gem);
    } catch (const PrintJobError& error) {
        PrintError(QString("cannot write file %1 (%2)").arg(out, error.what()));
        return ExitFileError;
    }
    return ExitOk;
}
} // namespace

const Subcommand PrintSubcommands[] = {
    {"listing", "Write the facet listing as the printer gets it (FILE)", RunListing},
    {"print", "Print the design sheet into a PDF file (FILE -o OUT.pdf [--full-page] [--paper A4|Letter])",
     RunPrint},
    {nullptr, nullptr, nullptr},
};
