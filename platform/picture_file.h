// A picture file (PNG, SVG, PDF or EMF) drawn through a DrawSurface and written in one go: drawn into
// memory, then through a temporary file that replaces the target only when complete, so that a write
// that fails (a full disk) leaves no partial picture and is reported.
#pragma once

#include "gem/file_error.h"
#include "sheet/draw_surface.h"

#include <QBuffer>
#include <QString>
#include <memory>

class RasterSurface;
class SvgSurface;
class PdfSurface;
class EmfSurface;

enum class PictureFormat { Png, Svg, Pdf, Emf };

// The format by the file's extension, case ignored; PNG for any other.
PictureFormat PictureFormatOf(const QString& path);

class PictureFile {
  public:
    PictureFile(PictureFormat format, int width, int height);
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    DrawSurface* Surface();
    // Ends the drawing and writes the file (replaced only when complete); fails when nothing was drawn or
    // the file cannot be written, saying why.
    FileResult Save(const QString& path);

  private:
    PictureFormat format_;
    QBuffer bytes_; // before the surfaces, which may still write to it when they go
    std::unique_ptr<RasterSurface> raster_;
    std::unique_ptr<SvgSurface> svg_;
    std::unique_ptr<PdfSurface> pdf_;
    std::unique_ptr<EmfSurface> emf_;
};
