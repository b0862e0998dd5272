// An enhanced metafile (Windows EMF) made through libEMF's GDI calls. libEMF's Windows-style header
// defines macros (min, max, TRUE, RGB, ERROR, ...) that clash with Qt and the standard library, so it
// is included by emf_gdi.cpp alone; this interface carries none of its types.
#pragma once

#include "sheet/draw_surface.h"

#include <memory>
#include <string>
#include <vector>

class EmfPicture {
  public:
    // A picture of width x height pixels of the library's reference device (1024 x 768 pixels are
    // 320 x 240 mm), drawn in those pixels. Check Valid() before drawing.
    EmfPicture(int width, int height);
    ~EmfPicture();
    EmfPicture(const EmfPicture&) = delete;
    EmfPicture& operator=(const EmfPicture&) = delete;
    bool Valid() const;

    void SetPen(Colour colour, int width);
    void SetBrush(Colour colour);
    // A font of the given character height in pixels.
    void SetFont(const std::string& name, int pixelHeight, bool bold);
    void SetTextColour(Colour colour);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Ellipse(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);
    void Polygon(const std::vector<DevicePoint>& points);
    // Text in the design's code page (Windows-1252) with its top-left corner at (x, y), no background.
    void Text(int x, int y, const std::string& text);

    // Ends the picture and answers the bytes of its file; empty when it could not be made.
    std::string Finish();

  private:
    struct Gdi;
    std::unique_ptr<Gdi> gdi_;
};
