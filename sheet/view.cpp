#include "sheet/view.h"

#include "gem/gem.h"
#include "gem/range_error.h"

#include <algorithm>
#include <cmath>

void TView::Init(TUserCanvas* userCanvas, const std::string& name, Real x1, Real y1, Real x2, Real y2,
                 Real fontScale) {
    UserCanvas = userCanvas;
    FontScale = fontScale;
    Name = name;
    SetPort(x1, y1, x2, y2);
    SetFrame(x1, y1, x2, y2);
    Clipped = false;
}

void TView::SetFrame(Real x1, Real y1, Real x2, Real y2) {
    FrameX1 = std::min(x1, x2);
    FrameY1 = std::min(y1, y2);
    FrameX2 = std::max(x1, x2);
    FrameY2 = std::max(y1, y2);
}

bool TView::InFrame(Real cx, Real cy) const {
    return !Clipped || (cx >= FrameX1 && cx <= FrameX2 && cy >= FrameY1 && cy <= FrameY2);
}

void TView::SetPort(Real x1, Real y1, Real x2, Real y2) {
    PortX1 = x1;
    PortY1 = y1;
    PortX2 = x2;
    PortY2 = y2;
    PortWidth = x2 - x1 + 1;
    PortHeight = y2 - y1 + 1;
    DevTop = UserCanvas->YToDevice(y1);
    DevLeft = UserCanvas->XToDevice(x1);
    DevRight = UserCanvas->XToDevice(x2);
    DevBottom = UserCanvas->YToDevice(y2);
}

void TView::SetWindow(Real xmin, Real ymin, Real xmax, Real ymax) {
    Window.Set(xmin, ymin, xmax, ymax, PortWidth, PortHeight);
}

void TView::SetWindowIsotropic(int sign, Real xmin, Real ymin, Real xmax) {
    Window.SetIsotropic(sign, xmin, ymin, xmax, PortWidth, PortHeight);
}

void TView::DeviceToWorld(int px, int py, Real& x, Real& y) const {
    x = FromCanvasX(UserCanvas->DeviceToX(px));
    y = FromCanvasY(UserCanvas->DeviceToY(py));
}

DevicePoint TView::ToDevice(Real x, Real y) const {
    return {UserCanvas->XToDevice(ToCanvasX(x)), UserCanvas->YToDevice(ToCanvasY(y))};
}

namespace {
// Liang-Barsky: the part of the segment from a to a + d (t in [0, 1]) on the inner side of one edge.
bool ClipEdge(Real p, Real q, Real& t0, Real& t1) {
    if (p == 0) return q >= 0;
    const Real t = q / p;
    if (p < 0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
    } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
    }
    return true;
}
} // namespace

void TView::Line(Real x1, Real y1, Real x2, Real y2) {
    Real ax = ToCanvasX(x1), ay = ToCanvasY(y1), bx = ToCanvasX(x2), by = ToCanvasY(y2);
    if (Clipped) {
        const Real dx = bx - ax, dy = by - ay;
        Real t0 = 0, t1 = 1;
        if (!ClipEdge(-dx, ax - FrameX1, t0, t1) || !ClipEdge(dx, FrameX2 - ax, t0, t1) ||
            !ClipEdge(-dy, ay - FrameY1, t0, t1) || !ClipEdge(dy, FrameY2 - ay, t0, t1))
            return;
        bx = ax + t1 * dx;
        by = ay + t1 * dy;
        ax += t0 * dx;
        ay += t0 * dy;
    }
    UserCanvas->Line(ax, ay, bx, by);
}

void TView::Marker(Real x, Real y) {
    if (InFrame(ToCanvasX(x), ToCanvasY(y))) UserCanvas->Marker(ToCanvasX(x), ToCanvasY(y));
}

void TView::FloodFillAt(Colour fill, Colour border, Real x, Real y, const FillRegion& region) {
    if (InFrame(ToCanvasX(x), ToCanvasY(y)))
        UserCanvas->FloodFillAt(fill, border, ToCanvasX(x), ToCanvasY(y), region);
}

Real TView::DrawText(const std::string& text, int size, Real x, Real y, int align, bool bold) {
    if (!InFrame(ToCanvasX(x), ToCanvasY(y))) return x;
    const Real end =
        UserCanvas->DrawText(text, ToPixel(size * FontScale), ToCanvasX(x), ToCanvasY(y), align, bold);
    return FromCanvasX(end);
}

AxisTriple AxisTable(int viewKind) {
    static const AxisTriple rows[] = {{2, 1, 3}, {3, 1, 2}, {2, 3, 1}, {2, 1, 3}, {1, 2, 3}};
    if (viewKind < 1 || viewKind > 5) ThrowRangeError("AxisTable", viewKind, 1, 5);
    return rows[viewKind - 1];
}

Real Coordinate(const Vector3& p, int axis) {
    return axis == 1 ? p.x : axis == 2 ? p.y : p.z;
}

namespace {
struct Projected {
    Real h, v;
};

Projected Project(const TGem& gem, int corner, AxisTriple axes, Real alpha) {
    const Vector3& p = gem.Points[corner].Position;
    const Real h =
        (Coordinate(p, axes.Horizontal) - std::tan(alpha) * Coordinate(p, axes.Depth)) * std::cos(alpha);
    return {h, Coordinate(p, axes.Vertical)};
}
} // namespace

void DrawFacet(TView& view, const TGem& gem, int f, Colour colour, Real alpha) {
    const AxisTriple axes = AxisTable(view.ViewKind);
    const Facet& facet = gem.Facets[f];
    const Colour saved = view.GetPenColor();
    view.SetPenColor(colour);
    for (int k = 2; k <= facet.CornerCount; ++k) {
        const Projected a = Project(gem, facet.Corners[k - 1], axes, alpha);
        const Projected b = Project(gem, facet.Corners[k], axes, alpha);
        view.Line(a.h, a.v, b.h, b.v);
    }
    view.SetPenColor(saved);
}

FillRegion FacetRegion(const TView& view, const TGem& gem, int f) {
    const AxisTriple axes = AxisTable(view.ViewKind);
    const Facet& facet = gem.Facets[f];
    FillRegion region;
    for (int k = 1; k <= facet.CornerCount; ++k) {
        const Projected p = Project(gem, facet.Corners[k], axes, 0);
        region.Polygon.push_back(view.ToDevice(p.h, p.v));
    }
    return region;
}
