// The drawing operations the design sheet needs from a device: the screen, a printer page, a picture file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour as 0x00BBGGRR: red is 0x0000FF, blue 0xFF0000.
using Colour = std::uint32_t;

inline constexpr Colour ColourBlack = 0x000000;
inline constexpr Colour ColourWhite = 0xFFFFFF;
inline constexpr Colour ColourRed = 0x0000FF;
inline constexpr Colour ColourBlue = 0xFF0000;
inline constexpr Colour ColourGrey = 0x808080;
inline constexpr Colour ColourSilver = 0xC0C0C0;

inline int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
inline int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

struct DevicePoint {
    int x = 0, y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

// What a flood fill is meant to cover, for devices that cannot read back their pixels: a closed
// polygon, or the ellipse inside a rectangle. Empty when the caller knows no shape.
struct FillRegion {
    std::vector<DevicePoint> Polygon;
    bool IsEllipse = false;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    bool Empty() const { return Polygon.empty() && !IsEllipse; }
    static FillRegion Ellipse(int left, int top, int right, int bottom) {
        FillRegion r;
        r.IsEllipse = true;
        r.Left = left;
        r.Top = top;
        r.Right = right;
        r.Bottom = bottom;
        return r;
    }
};

enum class PenMode { Copy, Xor };

// Printer page geometry in device pixels and millimetres.
struct PageMetrics {
    int WidthPx = 0, HeightPx = 0;
    int WidthMm = 0, HeightMm = 0;
    int PhysOffsetX = 0, PhysOffsetY = 0;
};

// A device surface in pixels, y growing downwards. Texts are 8-bit Latin-1; font sizes are points.
class DrawSurface {
  public:
    virtual ~DrawSurface() = default;

    virtual void SetPenColor(Colour c) = 0;
    virtual Colour PenColor() const = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual int PenWidth() const = 0;
    virtual void SetPenMode(PenMode mode) = 0;
    virtual PenMode GetPenMode() const = 0;
    virtual void SetBrushColor(Colour c) = 0;
    virtual Colour BrushColor() const = 0;
    virtual void SetFont(const std::string& name, int size, bool bold) = 0;
    virtual void SetFontColor(Colour c) = 0;
    virtual Colour FontColor() const = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Outlined with the pen and filled with the brush, right and bottom exclusive.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    // Fills with the brush from (x, y) outwards up to pixels of the border colour; a device that
    // cannot read its pixels fills the region instead.
    virtual void FloodFill(int x, int y, Colour border, const FillRegion& region) = 0;
    // Text with its top-left corner at (x, y), in the font colour, no background.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // Told before each text of the sheet: the point it is aligned to and how (0 left end, 1 right end,
    // 2 centred with its top there, 3 centred both ways). Devices may ignore it.
    virtual void TextAnchor(int /*x*/, int /*y*/, int /*align*/) {}
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;

    virtual int DeviceWidth() const = 0;
    virtual int DeviceHeight() const = 0;
    // Page geometry of a printer-like device; other devices answer their size at 96 pixels per inch.
    virtual PageMetrics Page() const;
};

// The pen, brush and font a surface draws with, kept once for every device. A setter that changes a
// value tells the device through its hook, which applies the new state to the device's own drawing
// tools; setting a value it already has does nothing.
class SurfaceState : public DrawSurface {
  public:
    struct Font {
        std::string Name;
        int Size = 8;
        bool Bold = false;
        friend bool operator==(const Font&, const Font&) = default;
    };

    void SetPenColor(Colour c) final { Change(pen_, c, &SurfaceState::PenChanged); }
    Colour PenColor() const final { return pen_; }
    void SetPenWidth(int w) final { Change(penWidth_, w, &SurfaceState::PenChanged); }
    int PenWidth() const final { return penWidth_; }
    void SetPenMode(PenMode m) final { Change(mode_, m, &SurfaceState::PenModeChanged); }
    PenMode GetPenMode() const final { return mode_; }
    void SetBrushColor(Colour c) final { Change(brush_, c, &SurfaceState::BrushChanged); }
    Colour BrushColor() const final { return brush_; }
    void SetFont(const std::string& name, int size, bool bold) final {
        Change(font_, Font{name, size, bold}, &SurfaceState::FontChanged);
    }
    const Font& CurrentFont() const { return font_; }
    void SetFontColor(Colour c) final { Change(fontColour_, c, &SurfaceState::FontColourChanged); }
    Colour FontColor() const final { return fontColour_; }

  protected:
    virtual void PenChanged() {}
    virtual void PenModeChanged() {}
    virtual void BrushChanged() {}
    virtual void FontChanged() {}
    virtual void FontColourChanged() {}

  private:
    template <typename T> void Change(T& value, const T& next, void (SurfaceState::*changed)()) {
        if (value == next) return;
        value = next;
        (this->*changed)();
    }

    Colour pen_ = ColourBlack, brush_ = ColourWhite, fontColour_ = ColourBlack;
    int penWidth_ = 1;
    PenMode mode_ = PenMode::Copy;
    Font font_;
};
