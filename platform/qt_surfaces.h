// Qt implementations of the drawing surface: a painter on any paint device, and the raster, SVG and
// PDF files the sheet is written to.
#pragma once

#include "sheet/draw_surface.h"

#include <QFont>
#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>
#include <QSvgGenerator>

#include <memory>

QColor ToQColor(Colour c);
Colour FromQColor(const QColor& c);

// Draws through a QPainter that is active on a device of the given pixel size. Vector devices
// cannot read their pixels back, so their flood fill paints the region the caller passes.
class QtSurface : public SurfaceState {
  public:
    QtSurface(QPainter& painter, int width, int height);

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FloodFill(int x, int y, Colour border, const FillRegion& region) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    int DeviceWidth() const override { return width_; }
    int DeviceHeight() const override { return height_; }
    PageMetrics Page() const override;

    // Page geometry for printer devices (millimetres and physical offsets).
    void SetPage(const PageMetrics& page) { page_ = page; }

  protected:
    // The image behind the painter when it can be read, else null.
    virtual const QImage* Pixels() const { return nullptr; }
    // Sets the painter's pen to the surface's; painting begins with it.
    void ApplyPen();
    void PenChanged() override { ApplyPen(); }
    void PenModeChanged() override;
    void FontChanged() override;
    QPainter& painter_;

  private:
    void FillRegionShape(const FillRegion& region, Colour border);
    void FloodFillPixels(const QImage& image, int x, int y, Colour border);

    int width_, height_;
    QFont font_;
    QPoint at_;
    PageMetrics page_;
};

// A white image of the given size at 96 pixels per inch times `scale` (a screen scaled to 200% has
// twice as many pixels per inch: text in points grows with it); flood fills read its pixels.
class RasterSurface : public QtSurface {
  public:
    RasterSurface(int width, int height, double scale = 1);
    ~RasterSurface() override;
    // Ends painting; the image is complete afterwards.
    const QImage& Finish();

  protected:
    const QImage* Pixels() const override { return &image_; }

  private:
    QImage image_;
    QPainter ownPainter_;
};

// An SVG file of the given pixel size, written to a file or to a device (such as a buffer whose
// bytes the caller writes, checking that they reach the disk).
class SvgSurface : public QtSurface {
  public:
    SvgSurface(const QString& path, int width, int height);
    SvgSurface(QIODevice& device, int width, int height);
    ~SvgSurface() override;
    bool Finish();

  private:
    SvgSurface(std::unique_ptr<QSvgGenerator> generator, int width, int height);
    std::unique_ptr<QSvgGenerator> generator_;
    QPainter ownPainter_;
};

// A one-page PDF whose page has the given pixel size at 96 pixels per inch, written to a file or to
// a device.
class PdfSurface : public QtSurface {
  public:
    PdfSurface(const QString& path, int width, int height);
    PdfSurface(QIODevice& device, int width, int height);
    ~PdfSurface() override;
    bool Finish();

  private:
    PdfSurface(std::unique_ptr<QPdfWriter> writer, int width, int height);
    std::unique_ptr<QPdfWriter> writer_;
    QPainter ownPainter_;
};

// A printer page: painting begins the print job (at once, or at Begin) and Finish ends it. The page
// metrics are the printer's printable area in pixels and millimetres, and its offset from the paper's
// edge; they can be read before the job begins.
class PrinterSurface : public QtSurface {
  public:
    explicit PrinterSurface(QPrinter& printer, bool beginNow = true);
    ~PrinterSurface() override;
    bool Begin();
    bool Begun() const { return ownPainter_.isActive(); }
    bool Finish();

  private:
    QPrinter& printer_;
    QPainter ownPainter_;
};
