#include "platform/qt_surfaces.h"

#include "platform/code_page_text.h"

#include <QFontMetrics>
#include <QPageSize>
#include <QPen>
#include <QPolygon>

#include <vector>

namespace {
constexpr int ScreenDpi = 96;
constexpr int DotsPerMeterAt96Dpi = 3780;
constexpr double PointsPerPixel = 72.0 / ScreenDpi;

// A pixel rectangle with exclusive right and bottom, as the outline of an aliased shape.
QRect OutlineRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left - 1, bottom - top - 1);
}
} // namespace

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

Colour FromQColor(const QColor& c) {
    return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8) |
           (static_cast<Colour>(c.blue()) << 16);
}

QtSurface::QtSurface(QPainter& painter, int width, int height)
    : painter_(painter), width_(width), height_(height) {
    page_.WidthPx = width;
    page_.HeightPx = height;
    page_.WidthMm = qRound(width * 25.4 / ScreenDpi);
    page_.HeightMm = qRound(height * 25.4 / ScreenDpi);
}

void QtSurface::ApplyPen() {
    QPen pen(ToQColor(PenColor()));
    pen.setWidth(PenWidth() <= 1 ? 0 : PenWidth());
    painter_.setPen(pen);
}

void QtSurface::PenModeChanged() {
    // Only raster devices can combine with what is already drawn.
    if (Pixels())
        painter_.setCompositionMode(GetPenMode() == PenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                                 : QPainter::CompositionMode_SourceOver);
}

void QtSurface::FontChanged() {
    const Font& font = CurrentFont();
    font_ = QFont(QString::fromLatin1(font.Name.c_str()));
    font_.setPointSize(font.Size);
    font_.setBold(font.Bold);
}

void QtSurface::MoveTo(int x, int y) {
    at_ = QPoint(x, y);
}

void QtSurface::LineTo(int x, int y) {
    ApplyPen();
    painter_.drawLine(at_, QPoint(x, y));
    at_ = QPoint(x, y);
}

void QtSurface::Ellipse(int left, int top, int right, int bottom) {
    ApplyPen();
    painter_.setBrush(ToQColor(BrushColor()));
    painter_.drawEllipse(OutlineRect(left, top, right, bottom));
}

void QtSurface::Rectangle(int left, int top, int right, int bottom) {
    ApplyPen();
    painter_.setBrush(ToQColor(BrushColor()));
    painter_.drawRect(OutlineRect(left, top, right, bottom));
}

void QtSurface::FloodFill(int x, int y, Colour border, const FillRegion& region) {
    if (const QImage* image = Pixels())
        FloodFillPixels(*image, x, y, border);
    else
        FillRegionShape(region, border);
}

// A flood fill never paints its border, so the region is filled and its rim drawn again in the
// border colour, as the pen drew it.
void QtSurface::FillRegionShape(const FillRegion& region, Colour border) {
    if (region.Empty()) return;
    painter_.save();
    QPen rim(ToQColor(border));
    rim.setWidth(PenWidth() <= 1 ? 0 : PenWidth());
    painter_.setPen(rim);
    painter_.setBrush(ToQColor(BrushColor()));
    if (region.IsEllipse) {
        painter_.drawEllipse(OutlineRect(region.Left, region.Top, region.Right, region.Bottom));
    } else {
        QPolygon polygon;
        for (const DevicePoint& p : region.Polygon)
            polygon << QPoint(p.x, p.y);
        painter_.drawPolygon(polygon);
    }
    painter_.restore();
}

// Every pixel reachable from (x, y) through pixels that are not of the border colour (four
// neighbours) is painted in the brush colour, one horizontal span at a time.
void QtSurface::FloodFillPixels(const QImage& image, int x, int y, Colour border) {
    const int w = image.width();
    const int h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const QRgb stop = ToQColor(border).rgb() & RGB_MASK;
    auto isBorder = [&](int px, int py) {
        return (reinterpret_cast<const QRgb*>(image.constScanLine(py))[px] & RGB_MASK) == stop;
    };
    if (isBorder(x, y)) return;

    std::vector<unsigned char> seen(static_cast<std::size_t>(w) * h, 0);
    auto at = [&](int px, int py) -> unsigned char& { return seen[static_cast<std::size_t>(py) * w + px]; };
    std::vector<QPoint> todo{QPoint(x, y)};
    std::vector<QRect> spans;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (at(p.x(), p.y()) || isBorder(p.x(), p.y())) continue;
        int left = p.x(), right = p.x();
        while (left > 0 && !at(left - 1, p.y()) && !isBorder(left - 1, p.y()))
            --left;
        while (right < w - 1 && !at(right + 1, p.y()) && !isBorder(right + 1, p.y()))
            ++right;
        for (int i = left; i <= right; ++i)
            at(i, p.y()) = 1;
        spans.emplace_back(left, p.y(), right - left + 1, 1);
        for (int ny : {p.y() - 1, p.y() + 1}) {
            if (ny < 0 || ny >= h) continue;
            for (int i = left; i <= right; ++i)
                if (!at(i, ny) && !isBorder(i, ny)) todo.emplace_back(i, ny);
        }
    }
    const QColor fill = ToQColor(BrushColor());
    for (const QRect& span : spans)
        painter_.fillRect(span, fill);
}

void QtSurface::TextOut(int x, int y, const std::string& text) {
    painter_.setFont(font_);
    painter_.setPen(ToQColor(FontColor()));
    const QFontMetrics metrics(font_, painter_.device());
    painter_.drawText(QPoint(x, y + metrics.ascent()), FromCodePage(text));
    ApplyPen();
}

int QtSurface::TextWidth(const std::string& text) {
    const QFontMetrics metrics(font_, painter_.device());
    return metrics.horizontalAdvance(FromCodePage(text));
}

int QtSurface::TextHeight(const std::string&) {
    const QFontMetrics metrics(font_, painter_.device());
    return metrics.height();
}

PageMetrics QtSurface::Page() const {
    return page_;
}

RasterSurface::RasterSurface(int width, int height, double scale)
    : QtSurface(ownPainter_, width, height), image_(width, height, QImage::Format_RGB32) {
    const int dotsPerMeter = qRound(DotsPerMeterAt96Dpi * scale);
    image_.setDotsPerMeterX(dotsPerMeter);
    image_.setDotsPerMeterY(dotsPerMeter);
    image_.fill(Qt::white);
    ownPainter_.begin(&image_);
    ownPainter_.setRenderHint(QPainter::Antialiasing, false);
    ownPainter_.setRenderHint(QPainter::TextAntialiasing, true);
    ApplyPen();
}

RasterSurface::~RasterSurface() {
    if (ownPainter_.isActive()) ownPainter_.end();
}

const QImage& RasterSurface::Finish() {
    if (ownPainter_.isActive()) ownPainter_.end();
    return image_;
}

namespace {
std::unique_ptr<QSvgGenerator> SvgGenerator(const QString& path) {
    auto generator = std::make_unique<QSvgGenerator>();
    generator->setFileName(path);
    return generator;
}

std::unique_ptr<QSvgGenerator> SvgGenerator(QIODevice& device) {
    auto generator = std::make_unique<QSvgGenerator>();
    generator->setOutputDevice(&device);
    return generator;
}
} // namespace

SvgSurface::SvgSurface(const QString& path, int width, int height)
    : SvgSurface(SvgGenerator(path), width, height) {}

SvgSurface::SvgSurface(QIODevice& device, int width, int height)
    : SvgSurface(SvgGenerator(device), width, height) {}

SvgSurface::SvgSurface(std::unique_ptr<QSvgGenerator> generator, int width, int height)
    : QtSurface(ownPainter_, width, height), generator_(std::move(generator)) {
    generator_->setSize(QSize(width, height));
    generator_->setViewBox(QRect(0, 0, width, height));
    generator_->setResolution(ScreenDpi);
    generator_->setTitle(QStringLiteral("LapidraW design sheet"));
    ownPainter_.begin(generator_.get());
    ApplyPen();
}

SvgSurface::~SvgSurface() {
    Finish();
}

bool SvgSurface::Finish() {
    return !ownPainter_.isActive() || ownPainter_.end();
}

PdfSurface::PdfSurface(const QString& path, int width, int height)
    : PdfSurface(std::make_unique<QPdfWriter>(path), width, height) {}

PdfSurface::PdfSurface(QIODevice& device, int width, int height)
    : PdfSurface(std::make_unique<QPdfWriter>(&device), width, height) {}

PdfSurface::PdfSurface(std::unique_ptr<QPdfWriter> writer, int width, int height)
    : QtSurface(ownPainter_, width, height), writer_(std::move(writer)) {
    writer_->setResolution(ScreenDpi);
    writer_->setPageSize(QPageSize(QSizeF(width * PointsPerPixel, height * PointsPerPixel), QPageSize::Point,
                                   QString(), QPageSize::ExactMatch));
    writer_->setPageMargins(QMarginsF(0, 0, 0, 0));
    writer_->setTitle(QStringLiteral("LapidraW design sheet"));
    ownPainter_.begin(writer_.get());
    ApplyPen();
}

PdfSurface::~PdfSurface() {
    Finish();
}

bool PdfSurface::Finish() {
    return !ownPainter_.isActive() || ownPainter_.end();
}

PrinterSurface::PrinterSurface(QPrinter& printer, bool beginNow)
    : QtSurface(ownPainter_, printer.width(), printer.height()), printer_(printer) {
    const QPageLayout layout = printer.pageLayout();
    const int resolution = printer.resolution();
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    PageMetrics page;
    page.WidthPx = printer.width();
    page.HeightPx = printer.height();
    page.WidthMm = printer.widthMM();
    page.HeightMm = printer.heightMM();
    page.PhysOffsetX = paint.left() - full.left();
    page.PhysOffsetY = paint.top() - full.top();
    SetPage(page);
    if (beginNow) Begin();
}

bool PrinterSurface::Begin() {
    if (!ownPainter_.begin(&printer_)) return false;
    ApplyPen();
    return true;
}

PrinterSurface::~PrinterSurface() {
    Finish();
}

bool PrinterSurface::Finish() {
    return !ownPainter_.isActive() || ownPainter_.end();
}
