// The raster surface behind the main window's client area: the sheet is drawn into it and the
// window shows its image; the crosshair is drawn into the same image in XOR mode.
#pragma once

#include "platform/qt_surfaces.h"

class WindowSurface final : public RasterSurface {
  public:
    using RasterSurface::RasterSurface;
    // The image as drawn so far; painting goes on after it is shown.
    const QImage& Image() const { return *Pixels(); }
};
