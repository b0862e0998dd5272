#include "platform/emf_surface.h"

#include "platform/code_page_text.h"

#include <QFontMetrics>
#include <QSaveFile>

#include <cerrno>
#include <cmath>

namespace {
constexpr int ScreenDpi = 96;
constexpr int PointsPerInch = 72;
constexpr int DotsPerMeterAt96Dpi = 3780;

QString FromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}
} // namespace

EmfSurface::EmfSurface(int width, int height)
    : picture_(width, height), width_(width), height_(height), metricsDevice_(1, 1, QImage::Format_RGB32) {
    metricsDevice_.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    metricsDevice_.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    if (!Valid()) return;
    ApplyPen();
    ApplyBrush(brush_);
    picture_.SetTextColour(fontColour_);
}

void EmfSurface::ApplyPen() {
    picture_.SetPen(pen_, penWidth_);
}

void EmfSurface::ApplyBrush(Colour c) {
    picture_.SetBrush(c);
}

void EmfSurface::SetPenColor(Colour c) {
    if (c == pen_) return;
    pen_ = c;
    ApplyPen();
}

void EmfSurface::SetPenWidth(int w) {
    if (w == penWidth_) return;
    penWidth_ = w;
    ApplyPen();
}

// The crosshair's XOR pen belongs to the window; a picture records the mode only.
void EmfSurface::SetPenMode(PenMode m) {
    mode_ = m;
}

void EmfSurface::SetBrushColor(Colour c) {
    if (c == brush_) return;
    brush_ = c;
    ApplyBrush(c);
}

void EmfSurface::SetFont(const std::string& name, int size, bool bold) {
    font_ = QFont(FromLatin1(name));
    font_.setPointSize(size);
    font_.setBold(bold);
    picture_.SetFont(name, static_cast<int>(std::lround(size * double(ScreenDpi) / PointsPerInch)), bold);
}

void EmfSurface::SetFontColor(Colour c) {
    fontColour_ = c;
    picture_.SetTextColour(c);
}

void EmfSurface::MoveTo(int x, int y) {
    picture_.MoveTo(x, y);
}

void EmfSurface::LineTo(int x, int y) {
    picture_.LineTo(x, y);
}

void EmfSurface::Ellipse(int left, int top, int right, int bottom) {
    picture_.Ellipse(left, top, right, bottom);
}

void EmfSurface::Rectangle(int left, int top, int right, int bottom) {
    picture_.Rectangle(left, top, right, bottom);
}

// A flood fill never paints its border: the region is filled and its rim drawn in the border colour.
void EmfSurface::FloodFill(int, int, Colour border, const FillRegion& region) {
    if (region.Empty()) return;
    picture_.SetPen(border, penWidth_);
    if (region.IsEllipse)
        picture_.Ellipse(region.Left, region.Top, region.Right, region.Bottom);
    else
        picture_.Polygon(region.Polygon);
    ApplyPen();
}

void EmfSurface::TextOut(int x, int y, const std::string& text) {
    picture_.Text(x, y, text);
}

int EmfSurface::TextWidth(const std::string& text) {
    return QFontMetrics(font_, &metricsDevice_).horizontalAdvance(FromCodePage(text));
}

int EmfSurface::TextHeight(const std::string&) {
    return QFontMetrics(font_, &metricsDevice_).height();
}

std::string EmfSurface::Finish() {
    return picture_.Finish();
}

bool EmfSurface::Save(const QString& path, int& errorCode) {
    const std::string bytes = Finish();
    errno = 0;
    QSaveFile file(path);
    const bool saved = !bytes.empty() && file.open(QIODevice::WriteOnly) &&
                       file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) &&
                       file.commit();
    errorCode = saved ? 0 : (errno != 0 ? errno : EIO);
    return saved;
}
