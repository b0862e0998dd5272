#include "platform/stone_painting.h"

#include "platform/qt_surfaces.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QVector>

void PaintStonePicture(QPainter& painter, const StonePicture& picture) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QPolygonF polygon;
    for (const FacePicture& face : picture.Faces) {
        polygon.clear();
        for (const ScreenPoint& p : face.Polygon)
            polygon << QPointF(p.x, p.y);
        painter.setBrush(ToQColor(face.Fill));
        painter.drawPolygon(polygon);
    }
    QVector<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(picture.Edges.size()));
    for (const EdgePicture& edge : picture.Edges)
        lines.append(QLineF(edge.A.x, edge.A.y, edge.B.x, edge.B.y));
    painter.setPen(QPen(ToQColor(StoneEdgeColour), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(lines);
    painter.restore();
}
