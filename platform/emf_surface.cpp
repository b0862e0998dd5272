#include "platform/emf_surface.h"

#include "gem/numtext.h"
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
    PenChanged();
    BrushChanged();
    FontColourChanged();
}

void EmfSurface::PenChanged() {
    picture_.SetPen(PenColor(), PenWidth());
}

void EmfSurface::BrushChanged() {
    picture_.SetBrush(BrushColor());
}

void EmfSurface::FontChanged() {
    const Font& font = CurrentFont();
    font_ = QFont(FromLatin1(font.Name));
    font_.setPointSize(font.Size);
    font_.setBold(font.Bold);
    picture_.SetFont(font.Name, static_cast<int>(std::lround(font.Size * double(ScreenDpi) / PointsPerInch)),
                     font.Bold);
}

void EmfSurface::FontColourChanged() {
    picture_.SetTextColour(FontColor());
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
    picture_.SetPen(border, PenWidth());
    if (region.IsEllipse)
        picture_.Ellipse(region.Left, region.Top, region.Right, region.Bottom);
    else
        picture_.Polygon(region.Polygon);
    PenChanged();
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

FileResult EmfSurface::Save(const QString& path) {
    const std::string bytes = Finish();
    errno = 0;
    QSaveFile file(path);
    const bool saved = !bytes.empty() && file.open(QIODevice::WriteOnly) &&
                       file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) &&
                       file.commit();
    if (saved) return {};
    const int code = errno != 0 ? errno : EIO;
    return FileResult::Failure(" Cannot write file " + path.toStdString() + ". Error: " + fixed(code, 4, 0),
                               0, code);
}
