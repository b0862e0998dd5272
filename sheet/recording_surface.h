// A surface that keeps every primitive drawn on it, for tests and for checks of the sheet's content.
#pragma once

#include "sheet/draw_surface.h"

#include <string>
#include <vector>

// Every record carries its place in the order of drawing, counted across all kinds of record.
struct RecordedLine {
    DevicePoint From, To;
    Colour Pen;
    int Width;
    PenMode Mode;
    int Order = 0;
};

struct RecordedText {
    int X, Y; // top-left corner in device pixels
    std::string Text;
    std::string Font;
    int Size;
    bool Bold;
    Colour Colour_;
    int Width, Height;  // the extent the surface reported for it
    int Align = -1;     // alignment given by the canvas, -1 for a text written directly
    DevicePoint Anchor; // the point it was aligned to
    int Order = 0;
};

struct RecordedShape {
    bool IsEllipse; // else a rectangle
    int Left, Top, Right, Bottom;
    Colour Pen, Brush;
    int Order = 0;
};

struct RecordedFill {
    DevicePoint Seed;
    Colour Fill, Border;
    FillRegion Region;
    int Order = 0;
};

// Text extents are a fixed function of the text and the font size: every character is 2/3 of the
// size wide (bold adds one pixel per character) and a line is 3/2 of the size high.
class RecordingSurface : public SurfaceState {
  public:
    RecordingSurface(int width, int height) : width_(width), height_(height) {}

    std::vector<RecordedLine> Lines;
    std::vector<RecordedText> Texts;
    std::vector<RecordedShape> Shapes;
    std::vector<RecordedFill> Fills;
    PageMetrics PageInfo; // answered by Page() when its width is set

    void Clear();
    // The texts equal to s, and the first one (nullptr when none).
    std::vector<const RecordedText*> TextsEqual(const std::string& s) const;
    const RecordedText* FindText(const std::string& s) const;

    void MoveTo(int x, int y) override { at_ = {x, y}; }
    void LineTo(int x, int y) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FloodFill(int x, int y, Colour border, const FillRegion& region) override;
    void TextOut(int x, int y, const std::string& text) override;
    void TextAnchor(int x, int y, int align) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    int DeviceWidth() const override { return width_; }
    int DeviceHeight() const override { return height_; }
    PageMetrics Page() const override;

  private:
    int width_, height_;
    int drawn_ = 0; // records made so far
    DevicePoint at_;
    int nextAlign_ = -1;
    DevicePoint nextAnchor_;
};
