// A surface that keeps every primitive drawn on it, for tests and for checks of the sheet's content.
#pragma once

#include "sheet/draw_surface.h"

#include <string>
#include <vector>

struct RecordedLine {
    DevicePoint From, To;
    Colour Pen;
    int Width;
    PenMode Mode;
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
};

struct RecordedShape {
    bool IsEllipse; // else a rectangle
    int Left, Top, Right, Bottom;
    Colour Pen, Brush;
};

struct RecordedFill {
    DevicePoint Seed;
    Colour Fill, Border;
    FillRegion Region;
};

// Text extents are a fixed function of the text and the font size: every character is 2/3 of the
// size wide (bold adds one pixel per character) and a line is 3/2 of the size high.
class RecordingSurface : public DrawSurface {
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

    void SetPenColor(Colour c) override { pen_ = c; }
    Colour PenColor() const override { return pen_; }
    void SetPenWidth(int w) override { penWidth_ = w; }
    int PenWidth() const override { return penWidth_; }
    void SetPenMode(PenMode m) override { mode_ = m; }
    PenMode GetPenMode() const override { return mode_; }
    void SetBrushColor(Colour c) override { brush_ = c; }
    Colour BrushColor() const override { return brush_; }
    void SetFont(const std::string& name, int size, bool bold) override;
    void SetFontColor(Colour c) override { fontColour_ = c; }
    Colour FontColor() const override { return fontColour_; }

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

    std::string FontName;
    int FontSize = 8;
    bool FontBold = false;

  private:
    int width_, height_;
    Colour pen_ = ColourBlack, brush_ = ColourWhite, fontColour_ = ColourBlack;
    int penWidth_ = 1;
    PenMode mode_ = PenMode::Copy;
    DevicePoint at_;
    int nextAlign_ = -1;
    DevicePoint nextAnchor_;
};
