#include "sheet/user_canvas.h"

#include "gem/range_error.h"

#include <cmath>
#include <limits>

namespace {
constexpr int CrossBottomGap = 30; // the vertical crosshair line stops short of the status bar
constexpr Real MmPerCm = 10;
constexpr int MarkerRadius = 2;
} // namespace

std::int32_t ToPixel(Real v) {
    const Real r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        throw RangeError("Pixel value out of range");
    return static_cast<std::int32_t>(r);
}

void TUserCanvas::Init(DrawSurface* canvas, int deviceWidth, int deviceHeight) {
    Canvas = canvas;
    DeviceWidth = deviceWidth;
    DeviceHeight = deviceHeight;
    IsPrinter = false;
    SetFont("Arial", 8, true);
    XorActive = false;
}

void TUserCanvas::SetViewport(int left, int top, int width, int height) {
    ViewportLeft = left;
    ViewportTop = top;
    ViewportWidth = width;
    ViewportHeight = height;
    ViewportRight = left + width;
    ViewportBottom = top + height;
}

void TUserCanvas::SetWorld(Real xmin, Real ymin, Real xmax, Real ymax) {
    World.Set(xmin, ymin, xmax, ymax, ViewportWidth, ViewportHeight);
}

void TUserCanvas::SetWorldIsotropic(int sign, Real xmin, Real ymin, Real xmax) {
    World.SetIsotropic(sign, xmin, ymin, xmax, ViewportWidth, ViewportHeight);
}

std::int32_t TUserCanvas::XToDevice(Real x) const {
    return ViewportLeft + ToPixel(World.X.Forward(x));
}
std::int32_t TUserCanvas::YToDevice(Real y) const {
    return ViewportTop + ToPixel(World.Y.Forward(y));
}
Real TUserCanvas::DeviceToX(int px) const {
    return World.X.Back(px - ViewportLeft);
}
Real TUserCanvas::DeviceToY(int py) const {
    return World.Y.Back(py - ViewportTop);
}

void TUserCanvas::SetFont(const std::string& name, int size, bool bold) {
    if (Canvas) Canvas->SetFont(name, size, bold);
    FontName = name;
    FontSize = size;
    FontBold = bold;
}

void TUserCanvas::Line(Real x1, Real y1, Real x2, Real y2) {
    Canvas->MoveTo(XToDevice(x1), YToDevice(y1));
    Canvas->LineTo(XToDevice(x2), YToDevice(y2));
}

void TUserCanvas::FillDeviceRect(Colour c, int left, int top, int right, int bottom) {
    const Colour pen = Canvas->PenColor();
    const Colour brush = Canvas->BrushColor();
    Canvas->SetPenColor(c);
    Canvas->SetBrushColor(c);
    Canvas->Rectangle(left, top, right, bottom);
    Canvas->SetPenColor(pen);
    Canvas->SetBrushColor(brush);
}

void TUserCanvas::ClearAll(Colour c) {
    if (IsPrinter) return;
    FillDeviceRect(c, 0, 0, DeviceWidth, DeviceHeight);
}

void TUserCanvas::FillRect(Colour c, Real x1, Real y1, Real x2, Real y2) {
    if (IsPrinter) return;
    FillDeviceRect(c, XToDevice(x1), YToDevice(y1), XToDevice(x2), YToDevice(y2));
}

void TUserCanvas::FloodFillAt(Colour fill, Colour border, Real x, Real y, const FillRegion& region) {
    const Colour brush = Canvas->BrushColor();
    Canvas->SetBrushColor(fill);
    Canvas->FloodFill(XToDevice(x), YToDevice(y), border, region);
    Canvas->SetBrushColor(brush);
}

void TUserCanvas::Marker(Real x, Real y) {
    const int px = XToDevice(x);
    const int py = YToDevice(y);
    const Colour pen = Canvas->PenColor();
    Canvas->SetPenColor(ColourRed);
    Canvas->Ellipse(px - MarkerRadius, py - MarkerRadius, px + MarkerRadius, py + MarkerRadius);
    FloodFillAt(
        ColourBlack, ColourRed, x, y,
        FillRegion::Ellipse(px - MarkerRadius, py - MarkerRadius, px + MarkerRadius, py + MarkerRadius));
    Canvas->SetPenColor(pen);
}

Real TUserCanvas::DrawText(const std::string& text, int size, Real x, Real y, int align, bool bold) {
    SetFont("Arial", size, bold);
    const int px = XToDevice(x);
    const int py = YToDevice(y);
    const int w = Canvas->TextWidth(text);
    Canvas->TextAnchor(px, py, align);
    switch (align) {
    case 0:
        Canvas->TextOut(px, py, text);
        return DeviceToX(px + w);
    case 1:
        Canvas->TextOut(px - w, py, text);
        return DeviceToX(px - w);
    case 2:
        Canvas->TextOut(px - w / 2, py, text);
        return DeviceToX(px - w / 2 + w);
    default: {
        const int h = Canvas->TextHeight(text);
        Canvas->TextOut(px - w / 2, py - h / 2, text);
        return DeviceToX(px - w / 2 + w);
    }
    }
}

void TUserCanvas::DrawCross(int x, int y) {
    Canvas->MoveTo(0, y);
    Canvas->LineTo(DeviceWidth, y);
    Canvas->MoveTo(x, 0);
    Canvas->LineTo(x, DeviceHeight - CrossBottomGap);
}

void TUserCanvas::Crosshair(int x, int y, int mode) {
    switch (mode) {
    case CrossStart:
        SavedPenMode = Canvas->GetPenMode();
        SavedPenColor = Canvas->PenColor();
        XorActive = true;
        Canvas->SetPenMode(PenMode::Xor);
        Canvas->SetPenColor(ColourWhite);
        DrawCross(x, y);
        CrossX = x;
        CrossY = y;
        break;
    case CrossMove:
        if (CrossX >= 0) DrawCross(CrossX, CrossY);
        DrawCross(x, y);
        CrossX = x;
        CrossY = y;
        break;
    default:
        if (CrossX >= 0) {
            DrawCross(CrossX, CrossY);
            CrossX = -1;
        }
        Canvas->SetPenMode(SavedPenMode);
        Canvas->SetPenColor(SavedPenColor);
        XorActive = false;
        break;
    }
}

void TUserCanvas::PreparePrinterPage() {
    const PageMetrics page = Canvas->Page();
    DeviceHeight = page.HeightPx;
    DeviceWidth = page.WidthPx;
    PageWidthMm = page.WidthMm;
    PageHeightMm = page.HeightMm;
    PhysOffsetX = page.PhysOffsetX;
    PhysOffsetY = page.PhysOffsetY;
    PixelsPerMm = static_cast<Real>(DeviceWidth) / PageWidthMm;
    IsPrinter = true;
}

void TUserCanvas::SetPrinterMargins(Real leftCm, Real topCm, Real rightCm, Real aspectW, Real aspectH) {
    PreparePrinterPage();
    int left = ToPixel(leftCm * MmPerCm * PixelsPerMm) - PhysOffsetX;
    if (left < 0) left = 0;
    int top = ToPixel(topCm * MmPerCm * PixelsPerMm) - PhysOffsetY;
    if (top < 0) top = 0;
    const int width = DeviceWidth - ToPixel(rightCm * MmPerCm * PixelsPerMm);
    const int height = ToPixel(width * aspectH / aspectW);
    SetViewport(left, top, width, height);
}

bool TUserCanvas::GetPrinterMetrics(int& vertMm, int& horzMm, int& pageHeightPx, int& pageWidthPx, int& physX,
                                    int& physY) {
    if (!IsPrinter) return false;
    const PageMetrics page = Canvas->Page();
    vertMm = page.HeightMm;
    horzMm = page.WidthMm;
    pageHeightPx = page.HeightPx;
    pageWidthPx = page.WidthPx;
    physX = page.PhysOffsetX;
    physY = page.PhysOffsetY;
    PixelsPerMm = static_cast<Real>(DeviceWidth) / PageWidthMm;
    return true;
}
