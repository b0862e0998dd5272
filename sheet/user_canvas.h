// TUserCanvas: maps a logical drawing area in canvas units onto a device surface.
#pragma once

#include "gem/vector3.h"
#include "sheet/draw_surface.h"
#include "sheet/window_mapping.h"

#include <cstdint>
#include <string>

// Rounds to the nearest pixel, ties to even; a value outside the 32-bit range is a range error.
std::int32_t ToPixel(Real v);

class TUserCanvas {
  public:
    std::int32_t ViewportLeft = 0, ViewportTop = 0;
    std::int32_t ViewportWidth = 0, ViewportHeight = 0;
    std::int32_t ViewportRight = 0, ViewportBottom = 0;
    std::int32_t DeviceWidth = 0, DeviceHeight = 0;
    DrawSurface* Canvas = nullptr; // not owned; swapped while a picture file is drawn
    bool IsPrinter = false;
    WindowMapping World; // canvas units onto the viewport
    std::int32_t PageWidthMm = 0, PageHeightMm = 0;
    std::int32_t PhysOffsetX = 0, PhysOffsetY = 0;
    Real PixelsPerMm = 0;
    std::string FontName;
    std::int32_t FontSize = 0;
    bool FontBold = false;
    bool XorActive = false;
    std::int32_t CrossX = -1, CrossY = -1;
    PenMode SavedPenMode = PenMode::Copy;
    Colour SavedPenColor = ColourBlack;

    void Init(DrawSurface* canvas, int deviceWidth, int deviceHeight);
    void SetViewport(int left, int top, int width, int height);
    void SetWorld(Real xmin, Real ymin, Real xmax, Real ymax);
    void SetWorldIsotropic(int sign, Real xmin, Real ymin, Real xmax);

    std::int32_t XToDevice(Real x) const;
    std::int32_t YToDevice(Real y) const;
    Real DeviceToX(int px) const;
    Real DeviceToY(int py) const;

    void SetPenColor(Colour c) { Canvas->SetPenColor(c); }
    Colour GetPenColor() const { return Canvas->PenColor(); }
    void SetBrushColor(Colour c) { Canvas->SetBrushColor(c); }
    void SetFontColor(Colour c) { Canvas->SetFontColor(c); }
    Colour GetFontColor() const { return Canvas->FontColor(); }
    void SetFont(const std::string& name, int size, bool bold);

    void Line(Real x1, Real y1, Real x2, Real y2);
    void ClearAll(Colour c);
    void FillRect(Colour c, Real x1, Real y1, Real x2, Real y2);
    // The region (device pixels) is what the fill covers on devices that cannot flood-fill.
    void FloodFillAt(Colour fill, Colour border, Real x, Real y, const FillRegion& region = {});
    void Marker(Real x, Real y);
    Real DrawText(const std::string& text, int size, Real x, Real y, int align, bool bold);

    void Crosshair(int x, int y, int mode);

    void PreparePrinterPage();
    void SetPrinterMargins(Real leftCm, Real topCm, Real rightCm, Real aspectW, Real aspectH);
    bool GetPrinterMetrics(int& vertMm, int& horzMm, int& pageHeightPx, int& pageWidthPx, int& physX,
                           int& physY);

  private:
    void FillDeviceRect(Colour c, int left, int top, int right, int bottom);
    void DrawCross(int x, int y);
};

// Crosshair modes.
inline constexpr int CrossStart = 0, CrossMove = 1, CrossEnd = 2;
