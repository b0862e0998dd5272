#include "sheet/recording_surface.h"

void RecordingSurface::Clear() {
    drawn_ = 0;
    Lines.clear();
    Texts.clear();
    Shapes.clear();
    Fills.clear();
}

std::vector<const RecordedText*> RecordingSurface::TextsEqual(const std::string& s) const {
    std::vector<const RecordedText*> found;
    for (const RecordedText& t : Texts)
        if (t.Text == s) found.push_back(&t);
    return found;
}

const RecordedText* RecordingSurface::FindText(const std::string& s) const {
    for (const RecordedText& t : Texts)
        if (t.Text == s) return &t;
    return nullptr;
}

void RecordingSurface::LineTo(int x, int y) {
    Lines.push_back({at_, {x, y}, PenColor(), PenWidth(), GetPenMode(), ++drawn_});
    at_ = {x, y};
}

void RecordingSurface::Ellipse(int left, int top, int right, int bottom) {
    Shapes.push_back({true, left, top, right, bottom, PenColor(), BrushColor(), ++drawn_});
}

void RecordingSurface::Rectangle(int left, int top, int right, int bottom) {
    Shapes.push_back({false, left, top, right, bottom, PenColor(), BrushColor(), ++drawn_});
}

void RecordingSurface::FloodFill(int x, int y, Colour border, const FillRegion& region) {
    Fills.push_back({{x, y}, BrushColor(), border, region, ++drawn_});
}

void RecordingSurface::TextAnchor(int x, int y, int align) {
    nextAnchor_ = {x, y};
    nextAlign_ = align;
}

void RecordingSurface::TextOut(int x, int y, const std::string& text) {
    const Font& font = CurrentFont();
    Texts.push_back({x, y, text, font.Name, font.Size, font.Bold, FontColor(), TextWidth(text),
                     TextHeight(text), nextAlign_, nextAnchor_, ++drawn_});
    nextAlign_ = -1;
    nextAnchor_ = {};
}

int RecordingSurface::TextWidth(const std::string& text) {
    const int n = static_cast<int>(text.size());
    return n * CurrentFont().Size * 2 / 3 + (CurrentFont().Bold ? n : 0);
}

int RecordingSurface::TextHeight(const std::string&) {
    return CurrentFont().Size * 3 / 2;
}

PageMetrics RecordingSurface::Page() const {
    if (PageInfo.WidthPx > 0) return PageInfo;
    return DrawSurface::Page();
}
