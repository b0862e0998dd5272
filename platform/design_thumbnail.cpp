#include "platform/design_thumbnail.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {
constexpr double Margin = 0.06; // share of the side left free round the stone
const QColor LineColour(40, 40, 40);
// Grey lines on white, painted and stored as one grey channel and compressed lightly (Qt's PNG quality
// 80 is zlib's level 1): encoding four channels at Qt's default level took a fifth of the indexing time.
constexpr int PngQuality = 80;
} // namespace

std::string TopViewPng(const TopView& view, int size) {
    const double width = view.MaxX - view.MinX, height = view.MaxY - view.MinY;
    if (view.Segments.empty() || !(std::max(width, height) > 0)) return "";
    QImage image(size, size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(LineColour, 1.0));
        const double scale = size * (1 - 2 * Margin) / std::max(width, height);
        const double cx = (view.MinX + view.MaxX) / 2, cy = (view.MinY + view.MaxY) / 2;
        auto at = [&](double x, double y) { // y up in the design, down in the picture
            return QPointF(size / 2.0 + (x - cx) * scale, size / 2.0 - (y - cy) * scale);
        };
        for (const auto& s : view.Segments)
            painter.drawLine(at(s[0], s[1]), at(s[2], s[3]));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG", PngQuality)) return "";
    return bytes.toStdString();
}
