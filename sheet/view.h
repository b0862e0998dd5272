// TView: a rectangle of the canvas showing a window of design coordinates, and the facet projections.
#pragma once

#include "sheet/user_canvas.h"

#include <string>

class TGem;

class TView {
  public:
    Real PortX1 = 0, PortY1 = 0, PortX2 = 0, PortY2 = 0;
    Real PortWidth = 0, PortHeight = 0;
    TUserCanvas* UserCanvas = nullptr; // not owned
    WindowMapping Window;              // design coordinates onto the port
    std::int32_t DevLeft = 0, DevTop = 0, DevRight = 0, DevBottom = 0;
    Real FontScale = 0;
    std::string Name;
    std::int32_t ViewKind = 0;

    // The part of the canvas the view may draw on (canvas units), and whether it is held to it: a zoomed
    // view keeps inside its panel. Init frees the view.
    Real FrameX1 = 0, FrameY1 = 0, FrameX2 = 0, FrameY2 = 0;
    bool Clipped = false;

    void Init(TUserCanvas* userCanvas, const std::string& name, Real x1, Real y1, Real x2, Real y2,
              Real fontScale);
    void SetFrame(Real x1, Real y1, Real x2, Real y2);
    bool InFrame(Real cx, Real cy) const;
    void SetPort(Real x1, Real y1, Real x2, Real y2);
    void SetWindow(Real xmin, Real ymin, Real xmax, Real ymax);
    void SetWindowIsotropic(int sign, Real xmin, Real ymin, Real xmax);

    Real ToCanvasX(Real x) const { return Window.X.Forward(x) + PortX1; }
    Real ToCanvasY(Real y) const { return Window.Y.Forward(y) + PortY1; }
    Real FromCanvasX(Real cx) const { return Window.X.Back(cx - PortX1); }
    Real FromCanvasY(Real cy) const { return Window.Y.Back(cy - PortY1); }
    void DeviceToWorld(int px, int py, Real& x, Real& y) const;
    Real CenterX() const { return (PortX1 + PortX2) / 2; }
    Real CenterY() const { return (PortY1 + PortY2) / 2; }
    Real MapXTo(const TView& other, Real x) const { return other.FromCanvasX(ToCanvasX(x)); }
    Real MapYTo(const TView& other, Real y) const { return other.FromCanvasY(ToCanvasY(y)); }

    // Device pixel of a design point.
    DevicePoint ToDevice(Real x, Real y) const;

    void Line(Real x1, Real y1, Real x2, Real y2);
    void Marker(Real x, Real y);
    void FloodFillAt(Colour fill, Colour border, Real x, Real y, const FillRegion& region = {});
    Real DrawText(const std::string& text, int size, Real x, Real y, int align, bool bold);

    void SetPenColor(Colour c) { UserCanvas->SetPenColor(c); }
    Colour GetPenColor() const { return UserCanvas->GetPenColor(); }
    void SetFontColor(Colour c) { UserCanvas->SetFontColor(c); }
    Colour GetFontColor() const { return UserCanvas->GetFontColor(); }
    bool IsPrinter() const { return UserCanvas->IsPrinter; }
};

// Which model coordinate (1 = x, 2 = y, 3 = z) is horizontal, vertical and depth in a kind of view.
struct AxisTriple {
    int Horizontal, Vertical, Depth;
};
// The row of a view kind 1 ... 5; any other kind is a range error.
AxisTriple AxisTable(int viewKind);
// Coordinate 1, 2 or 3 of a point.
Real Coordinate(const Vector3& p, int axis);

// Draws facet f's corner list into the view, projected by the view's axis row and turned by alpha
// (radians) about the view's vertical axis; the pen colour is restored afterwards.
void DrawFacet(TView& view, const TGem& gem, int f, Colour colour, Real alpha = 0);
// Facet f's polygon in device pixels as the view projects it (for fills on vector devices).
FillRegion FacetRegion(const TView& view, const TGem& gem, int f);
