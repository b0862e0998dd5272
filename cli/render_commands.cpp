// render and rotate: the design sheet, or the freely rotated stone, drawn into a PNG, SVG, PDF or EMF
// file as the main window would show it in a client area of the given size.
#include "cli/tool.h"
#include "gem/numtext.h"
#include "platform/picture_file.h"
#include "sheet/design_sheet.h"
#include "sheet/faceting_diagram.h"
#include "stone/materials.h"
#include "stone/stone_files.h"

#include <QFileInfo>

#include <memory>

namespace {
// Loads the design, draws it with `draw` and writes the picture.
template <typename Draw> int DrawToFile(const ToolRequest& request, Draw draw) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    PictureFile picture(PictureFormatOf(request.Output), request.Width, request.Height);
    auto canvas = std::make_unique<TUserCanvas>();
    auto sheet = std::make_unique<TDesignSheet>();
    sheet->SetUpScreen(*canvas, picture.Surface(), request.Width, request.Height);
    draw(*gem, *sheet);
    if (const FileResult saved = picture.Save(request.Output); !saved) {
        PrintModelMessage(saved.Error().Message);
        return ExitFileError;
    }
    return ExitOk;
}
} // namespace

// Qt's notes about the headless platform (such as a missing runtime folder) are not the tool's
// messages: only critical ones go through to standard error.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) PrintError(message);
}

int RunRender(const ToolRequest& request) {
    return DrawToFile(request, [](TGem& gem, TDesignSheet& sheet) { sheet.RepaintScreen(gem); });
}

int RunRotate(const ToolRequest& request) {
    return DrawToFile(request, [&](TGem& gem, TDesignSheet& sheet) {
        sheet.RotateKey(gem, RotateStartKey);
        sheet.Rotation.B = request.AngleB;
        sheet.Rotation.C = request.AngleC;
        sheet.RotateKey(gem, RotateRedrawKey);
    });
}

int RunDiagram(const ToolRequest& request) {
    StoneHalves halves;
    Stone stone;
    std::string weight;
    if (!FindMaterial(request.Stone.Material.toStdString()))
        return UsageError(
            "diagram",
            QString("unknown material '%1' (see '%2 materials')").arg(request.Stone.Material, ToolName));
    if (!LoadStone(request, halves, stone) || !WeightLine(request, stone, weight)) return ExitFileError;
    FacetingDiagram diagram = DiagramOf(halves.Crown.get(), halves.Pavilion.get(), stone,
                                        QFileInfo(request.Input.Path).completeBaseName().toStdString());
    diagram.Weight = weight;
    const PagePixels page = DiagramPage(request.LetterPaper ? Paper::Letter : Paper::A4);
    PictureFile picture(PictureFormatOf(request.Output), page.Width, page.Height);
    DrawFacetingDiagram(*picture.Surface(), diagram);
    if (const FileResult saved = picture.Save(request.Output); !saved) {
        PrintModelMessage(saved.Error().Message);
        return ExitFileError;
    }
    return ExitOk;
}
