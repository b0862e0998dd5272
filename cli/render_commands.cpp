// render and rotate: the design sheet, or the freely rotated stone, drawn into a PNG, SVG, PDF or EMF
// file as the main window would show it in a client area of the given size.
#include "cli/tool.h"
#include "platform/emf_surface.h"
#include "platform/qt_surfaces.h"
#include "world/design_sheet.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <memory>

namespace {
constexpr int DefaultWidth = 800, DefaultHeight = 600;
constexpr int LargestSide = 20000;
constexpr long long LargestArea = 16'000'000; // pixels: a picture in memory stays below 64 MB

enum class Format { Png, Svg, Pdf, Emf };

std::optional<Format> FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png") return Format::Png;
    if (suffix == "svg") return Format::Svg;
    if (suffix == "pdf") return Format::Pdf;
    if (suffix == "emf") return Format::Emf;
    return std::nullopt;
}

bool ParseSize(const QString& text, int& width, int& height) {
    static const QRegularExpression pattern("^(\\d{1,5})x(\\d{1,5})$");
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return false;
    width = match.captured(1).toInt();
    height = match.captured(2).toInt();
    return width > 0 && height > 0 && width <= LargestSide && height <= LargestSide &&
           static_cast<long long>(width) * height <= LargestArea;
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

struct DrawingArguments {
    InputOptions Input;
    QString Output;
    Format OutputFormat = Format::Png;
    int Width = DefaultWidth, Height = DefaultHeight;
};

// Parses FILE -o OUT [--size WxH] and the extra options; answers an exit code to stop with.
std::optional<int> ParseDrawing(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, DrawingArguments& drawing) {
    const QString subcommand = arguments.value(1);
    const QCommandLineOption output({"o", "output"}, "The picture to write: .png, .svg, .pdf or .emf.",
                                    "OUT");
    const QCommandLineOption size("size", "Client area in pixels (default 800x600).", "WIDTHxHEIGHT");
    parser.addOption(output);
    parser.addOption(size);
    AddInputOptions(parser);
    QStringList values;
    if (auto stop = ParseArguments(parser, arguments, {"FILE"}, description, values)) return stop;
    if (auto stop = TakeInputOptions(parser, subcommand, values[0], drawing.Input)) return stop;
    drawing.Output = parser.value(output);
    if (drawing.Output.isEmpty()) return UsageError(subcommand, "no output file given (-o OUT)");
    const std::optional<Format> format = FormatOf(drawing.Output);
    if (!format)
        return UsageError(
            subcommand,
            QString("cannot write '%1': unknown output format (.png, .svg, .pdf, .emf)").arg(drawing.Output));
    drawing.OutputFormat = *format;
    if (parser.isSet(size) && !ParseSize(parser.value(size), drawing.Width, drawing.Height))
        return UsageError(subcommand,
                          QString("bad size '%1' (WIDTHxHEIGHT, 1 to %2 pixels each, %3 million in all)")
                              .arg(parser.value(size))
                              .arg(LargestSide)
                              .arg(LargestArea / 1'000'000));
    return std::nullopt;
}

// Loads the design, draws it with `draw` and writes the picture.
template <typename Draw> int DrawToFile(const DrawingArguments& drawing, Draw draw) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(drawing.Input, *gem)) return ExitFileError;
    Picture picture(drawing.OutputFormat, drawing.Width, drawing.Height);
    auto canvas = std::make_unique<TUserCanvas>();
    auto sheet = std::make_unique<TDesignSheet>();
    sheet->SetUpScreen(*canvas, picture.Surface(), drawing.Width, drawing.Height);
    draw(*gem, *sheet);
    if (!picture.Save(drawing.Output)) {
        PrintError(QString("cannot write file %1").arg(drawing.Output));
        return ExitFileError;
    }
    return ExitOk;
}

int RunRender(const QStringList& arguments) {
    QCommandLineParser parser;
    DrawingArguments drawing;
    if (auto stop =
            ParseDrawing(parser, arguments,
                         "Draws the design sheet of FILE as the main window shows it in a client area "
                         "of the given size, into OUT (.png, .svg, .pdf or .emf).",
                         drawing))
        return *stop;
    return DrawToFile(drawing, [](TGem& gem, TDesignSheet& sheet) { sheet.RepaintScreen(gem); });
}

int RunRotate(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption angles("angles", "Rotation angles B and C in degrees.", "B,C");
    parser.addOption(angles);
    DrawingArguments drawing;
    if (auto stop =
            ParseDrawing(parser, arguments,
                         "Draws the stone of FILE freely rotated by the angles B (up and down keys) and "
                         "C (left and right keys), hidden faces left out, into OUT.",
                         drawing))
        return *stop;
    if (!parser.isSet(angles)) return UsageError("rotate", "no angles given (--angles B,C)");
    const QStringList parts = parser.value(angles).split(',');
    bool okB = false, okC = false;
    const double b = parts.value(0).toDouble(&okB);
    const double c = parts.value(1).toDouble(&okC);
    if (parts.size() != 2 || !okB || !okC || !std::isfinite(b) || !std::isfinite(c))
        return UsageError("rotate", QString("bad angles '%1' (B,C in degrees)").arg(parser.value(angles)));
    return DrawToFile(drawing, [&](TGem& gem, TDesignSheet& sheet) {
        sheet.RotateKey(gem, RotateStartKey);
        sheet.Rotation.B = b;
        sheet.Rotation.C = c;
        sheet.RotateKey(gem, RotateRedrawKey);
    });
}
} // namespace

// Qt's notes about the headless platform (such as a missing runtime folder) are not the tool's
// messages: only critical ones go through to standard error.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) PrintError(message);
}

const Subcommand RenderSubcommands[] = {
    {"render", "Draw the design sheet to PNG, SVG, PDF or EMF (FILE -o OUT [--size WxH])", RunRender},
    {"rotate", "Draw the freely rotated stone (FILE -o OUT --angles B,C)", RunRotate},
    {nullptr, nullptr, nullptr},
};
