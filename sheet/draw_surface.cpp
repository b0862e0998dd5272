#include "sheet/draw_surface.h"

#include <cmath>

namespace {
constexpr double ScreenPixelsPerMm = 96.0 / 25.4;
}

PageMetrics DrawSurface::Page() const {
    PageMetrics page;
    page.WidthPx = DeviceWidth();
    page.HeightPx = DeviceHeight();
    page.WidthMm = static_cast<int>(std::lround(page.WidthPx / ScreenPixelsPerMm));
    page.HeightMm = static_cast<int>(std::lround(page.HeightPx / ScreenPixelsPerMm));
    return page;
}
