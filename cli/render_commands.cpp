// render and rotate: the design sheet, or the freely rotated stone, drawn into a PNG, SVG, PDF or EMF
// file as the main window would show it in a client area of the given size.
#include "cli/tool.h"
#include "gem/numtext.h"
#include "platform/emf_surface.h"
#include "platform/qt_surfaces.h"
#include "sheet/design_sheet.h"
#include "sheet/faceting_diagram.h"
#include "stone/materials.h"
#include "stone/stone_files.h"

#include <QBuffer>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace {
enum class Format { Png, Svg, Pdf, Emf };

// The picture's format by its extension (the command line allows only these four).
Format FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "svg") return Format::Svg;
    if (suffix == "pdf") return Format::Pdf;
    if (suffix == "emf") return Format::Emf;
    return Format::Png;
}

// The picture is drawn into memory and then written in one go through a temporary file that replaces
// the output only when complete: a write that fails (a full disk) leaves no partial picture, and is
// reported, which the writers of Qt do not do for their own files.
class Picture {
  public:
    Picture(Format format, int width, int height) : format_(format) {
        bytes_.open(QIODevice::WriteOnly);
        switch (format) {
        case Format::Png:
            raster_ = std::make_unique<RasterSurface>(width, height);
            break;
        case Format::Svg:
            svg_ = std::make_unique<SvgSurface>(bytes_, width, height);
            break;
        case Format::Pdf:
            pdf_ = std::make_unique<PdfSurface>(bytes_, width, height);
            break;
        case Format::Emf:
            emf_ = std::make_unique<EmfSurface>(width, height);
            break;
        }
    }
    DrawSurface* Surface() {
        if (raster_) return raster_.get();
        if (svg_) return svg_.get();
        if (emf_) return emf_.get();
        return pdf_.get();
    }
    bool Save(const QString& path) {
        bool drawn = false;
        switch (format_) {
        case Format::Png:
            drawn = raster_->Finish().save(&bytes_, "PNG");
            break;
        case Format::Svg:
            drawn = svg_->Finish();
            break;
        case Format::Pdf:
            drawn = pdf_->Finish();
            break;
        case Format::Emf:
            drawn = bytes_.write(QByteArray::fromStdString(emf_->Finish())) > 0;
            break;
        }
        QSaveFile file(path);
        return drawn && bytes_.size() > 0 && file.open(QIODevice::WriteOnly) &&
               file.write(bytes_.data()) == bytes_.size() && file.commit();
    }

  private:
    Format format_;
    QBuffer bytes_; // before the surfaces, which may still write to it when they go
    std::unique_ptr<RasterSurface> raster_;
    std::unique_ptr<SvgSurface> svg_;
    std::unique_ptr<PdfSurface> pdf_;
    std::unique_ptr<EmfSurface> emf_;
};

// Loads the design, draws it with `draw` and writes the picture.
template <typename Draw> int DrawToFile(const ToolRequest& request, Draw draw) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    Picture picture(FormatOf(request.Output), request.Width, request.Height);
    auto canvas = std::make_unique<TUserCanvas>();
    auto sheet = std::make_unique<TDesignSheet>();
    sheet->SetUpScreen(*canvas, picture.Surface(), request.Width, request.Height);
    draw(*gem, *sheet);
    if (!picture.Save(request.Output)) {
        PrintError(QString("cannot write file %1").arg(request.Output));
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
    FacetingDiagram diagram;
    diagram.Crown = halves.Crown.get();
    diagram.Pavilion = halves.Pavilion.get();
    diagram.WholeStone = &stone;
    diagram.Title = Trim(halves.Crown->TextLine(CutNameLine));
    if (diagram.Title.empty()) diagram.Title = Trim(halves.Crown->TextLine(1));
    if (diagram.Title.empty()) diagram.Title = QFileInfo(request.Input.Path).completeBaseName().toStdString();
    for (int k = 2; k <= 4; ++k)
        if (!Trim(halves.Crown->TextLine(k)).empty())
            diagram.Notes.push_back(Trim(halves.Crown->TextLine(k)));
    diagram.Weight = weight;
    const PagePixels page = DiagramPage(request.LetterPaper ? Paper::Letter : Paper::A4);
    Picture picture(FormatOf(request.Output), page.Width, page.Height);
    DrawFacetingDiagram(*picture.Surface(), diagram);
    if (!picture.Save(request.Output)) {
        PrintError(QString("cannot write file %1").arg(request.Output));
        return ExitFileError;
    }
    return ExitOk;
}
