#include "sheet/page_layout.h"

#include "sheet/user_canvas.h"

namespace {
constexpr Real MmPerCm = 10;
constexpr Real LeftMarginMm = 15;    // also what the usable width leaves out
constexpr Real HeightReserveMm = 13; // left out of the usable height
constexpr Real RightAddCm = 1.5L;
constexpr Real TopCm = 1;
constexpr Real SecondTopCm = 1.3L;
} // namespace

HalfPageLayout LayOutHalfPages(int horzMm, int vertMm, int pageWidthPx, int clientWidth, int clientHeight) {
    HalfPageLayout l;
    const Real ppmm = static_cast<Real>(pageWidthPx) / horzMm;
    l.PixelsPerMm = ppmm;
    l.Width = ToPixel((horzMm - LeftMarginMm) * ppmm);
    l.HalfHeight = ToPixel((vertMm - HeightReserveMm) * ppmm) / 2;
    // A sheet that would be higher than half a page is narrowed to keep the window's proportions.
    if (static_cast<Real>(clientHeight) * l.Width / clientWidth > l.HalfHeight)
        l.Width = ToPixel(static_cast<Real>(clientWidth) * l.HalfHeight / clientHeight);
    const Real widthCm = l.Width / ppmm / MmPerCm;
    const Real halfCm = l.HalfHeight / ppmm / MmPerCm;
    l.Left = ToPixel(LeftMarginMm * ppmm);
    l.Right = ToPixel((widthCm + RightAddCm) * MmPerCm * ppmm);
    l.Top1 = ToPixel(TopCm * MmPerCm * ppmm);
    l.Bottom1 = ToPixel((halfCm + TopCm) * MmPerCm * ppmm);
    l.Top2 = ToPixel((halfCm + SecondTopCm) * MmPerCm * ppmm);
    l.Bottom2 = ToPixel((2 * halfCm + SecondTopCm) * MmPerCm * ppmm);
    return l;
}
