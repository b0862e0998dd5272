// The design sheet as an enhanced metafile (.emf): every primitive becomes a GDI record. Texts are
// measured with the screen's fonts at 96 pixels per inch, so the picture is laid out as the window is.
// A metafile cannot read its pixels back, so a flood fill paints the region the caller passes.
#pragma once

#include "platform/emf_gdi.h"

#include "gem/file_error.h"
#include <QFont>
#include <QImage>

#include <QString>

// The crosshair's XOR pen belongs to the window: a picture keeps the pen mode without a record.
class EmfSurface final : public SurfaceState {
  public:
    EmfSurface(int width, int height);
    bool Valid() const { return picture_.Valid(); }

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

    // Ends the picture: the bytes of the .emf file, empty when it could not be made.
    std::string Finish();
    // Ends the picture and writes it whole to the file (replaced only when complete); the failure
    // carries the system's I/O error code.
    FileResult Save(const QString& path);

  private:
    void PenChanged() override;
    void BrushChanged() override;
    void FontChanged() override;
    void FontColourChanged() override;

    EmfPicture picture_;
    int width_, height_;
    QFont font_;
    QImage metricsDevice_; // 96 pixels per inch, as the screen's surface
};
