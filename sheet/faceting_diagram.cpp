#include "sheet/faceting_diagram.h"

#include "gem/numtext.h"
#include "stone/stone_figures.h"
#include "stone/stone_instructions.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {
constexpr int Margin = 40;
constexpr int TitleSize = 14, TextSize = 9, LabelSize = 8;
constexpr double ViewShare = 0.40; // of the page's height, for the four views
constexpr double ViewFill = 0.80;  // of a view's cell that the stone takes
const char* const Font = "Arial";

// A view of the stone: where a corner goes on the page, and which faces it sees.
struct View {
    const char* Label;
    std::function<std::pair<double, double>(const Vector3&)> Project; // page offsets from the centre
    std::function<bool(const Vector3&)> Sees;                         // by the face's inward normal
};

const View Views[] = {
    {"Crown from above",
     [](const Vector3& p) {
         return std::pair{double(p.x), double(-p.y)};
     },
     [](const Vector3& n) { return n.z < 0; }},
    {"Pavilion from below",
     [](const Vector3& p) {
         return std::pair{double(-p.x), double(-p.y)};
     },
     [](const Vector3& n) { return n.z > 0; }},
    {"Side",
     [](const Vector3& p) {
         return std::pair{double(p.x), double(-p.z)};
     },
     [](const Vector3& n) { return n.y > 0; }},
    {"End",
     [](const Vector3& p) {
         return std::pair{double(p.y), double(-p.z)};
     },
     [](const Vector3& n) { return n.x < 0; }},
};

// The edges a view sees (one of their faces turned towards it), drawn about the cell's centre.
void DrawView(DrawSurface& surface, const Stone& stone, const View& view, int left, int top, int width,
              int height, double scale) {
    surface.SetFont(Font, LabelSize, false);
    surface.TextOut(left, top, view.Label);
    const double cx = left + width / 2.0, cy = top + height / 2.0;
    Vector3 mid = Real(0.5) * (stone.BoxMin + stone.BoxMax);
    const auto [mx, my] = view.Project(mid);
    surface.SetPenColor(ColourBlack);
    surface.SetPenWidth(1);
    for (const StoneEdge& edge : stone.Edges) {
        const bool seen = view.Sees(stone.Faces[edge.FaceA].FacePlane.Normal) ||
                          (edge.FaceB >= 0 && view.Sees(stone.Faces[edge.FaceB].FacePlane.Normal));
        if (!seen) continue;
        const auto [ax, ay] = view.Project(stone.Corners[edge.CornerA]);
        const auto [bx, by] = view.Project(stone.Corners[edge.CornerB]);
        surface.MoveTo(static_cast<int>(std::lround(cx + scale * (ax - mx))),
                       static_cast<int>(std::lround(cy + scale * (ay - my))));
        surface.LineTo(static_cast<int>(std::lround(cx + scale * (bx - mx))),
                       static_cast<int>(std::lround(cy + scale * (by - my))));
    }
}

// Writes lines from `y` down; answers the height used.
int WriteLines(DrawSurface& surface, const std::vector<std::string>& lines, int x, int y, int bottom) {
    const int step = surface.TextHeight("Xg") + 2;
    int used = 0;
    for (const std::string& line : lines) {
        if (y + used + step > bottom) break;
        surface.TextOut(x, y + used, line);
        used += step;
    }
    return used;
}

std::string Ratio(const char* name, Real value) {
    return std::string(name) + " = " + Trim(fixed(value, 0, 3));
}

std::string PadRight(const std::string& s, std::size_t w) {
    return s.size() >= w ? s : s + std::string(w - s.size(), ' ');
}

constexpr std::size_t NameColumn = 5, AngleColumn = 9, IndicesColumn = 27;
constexpr std::size_t IndicesWidth = IndicesColumn - 2; // characters of indices on one row
constexpr std::size_t InstructionWidth = 56;            // characters of instruction on one row
const char* const DegreeSign = "\xB0";

// Pieces of a text in rows of at most `width` characters, parted after a separator kept at the row's end
// ("-" between indices, " " between words).
std::vector<std::string> RowPieces(const std::string& text, char separator, std::size_t width) {
    std::vector<std::string> pieces;
    std::string rest = text;
    while (rest.size() > width) {
        std::size_t cut = rest.rfind(separator, width - 1);
        cut = cut == std::string::npos || cut == 0 ? width : cut + 1;
        pieces.push_back(TrimRight(rest.substr(0, cut)));
        rest = rest.substr(cut);
    }
    if (!rest.empty() || pieces.empty()) pieces.push_back(rest);
    return pieces;
}

// The instructions with every tier's name as pages print it, in the meets too.
std::vector<TierInstruction> PrintedNames(std::vector<TierInstruction> instructions) {
    std::map<std::string, std::string> printed;
    for (const TierInstruction& i : instructions)
        printed[i.Tier.Name] = PrintedName(i.Tier);
    for (TierInstruction& i : instructions) {
        for (std::string& met : i.Meets)
            if (printed.count(met)) met = printed[met];
        i.Tier.Name = printed[i.Tier.Name];
        i.Tier.DerivedName = i.Tier.Name;
    }
    return instructions;
}
} // namespace

std::vector<std::string> InstructionRows(const std::vector<TierInstruction>& instructions) {
    std::vector<std::string> rows;
    for (const TierInstruction& i : PrintedNames(instructions)) {
        const std::string angle = fixed(i.Tier.Angle, 0, 2) + DegreeSign;
        const std::vector<std::string> indices = RowPieces(IndicesText(i.Tier.Indices), '-', IndicesWidth);
        const std::vector<std::string> pieces = RowPieces(Trim(i.Text()), ' ', InstructionWidth);
        for (std::size_t r = 0; r < std::max(indices.size(), pieces.size()); ++r) {
            std::string row = r == 0 ? PadRight(i.Tier.Name, NameColumn) +
                                           PadRight(PadLeft(angle, AngleColumn - 2), AngleColumn)
                                     : std::string(NameColumn + AngleColumn, ' ');
            row += PadRight(r < indices.size() ? indices[r] : "", IndicesColumn);
            row += r < pieces.size() ? pieces[r] : "";
            rows.push_back(TrimRight(row));
        }
    }
    return rows;
}

PagePixels DiagramPage(Paper paper) {
    return paper == Paper::A4 ? PagePixels{794, 1123} : PagePixels{816, 1056};
}

std::vector<std::string> StoneFigureLines(const Stone& stone, const TGem& design, const TGem* partner) {
    const StoneFigures f = FiguresOf(stone, design);
    std::vector<std::string> lines = {
        Ratio("L/W", f.Ratio(f.Length)) + "   " + Ratio("T/W", f.Ratio(f.Table)) + "   " +
            Ratio("H/W", f.Ratio(f.TotalDepth)),
        Ratio("C/W", f.Ratio(f.CrownHeight)) + "   " + Ratio("P/W", f.Ratio(f.PavilionDepth)) + "   " +
            Ratio("C/H", f.TotalDepth > 0 ? f.CrownHeight / f.TotalDepth : 0) + "   " +
            Ratio("P/H", f.TotalDepth > 0 ? f.PavilionDepth / f.TotalDepth : 0),
        "G/W = " + Trim(fixed(f.Ratio(f.GirdleThin), 0, 3)) + " to " +
            Trim(fixed(f.Ratio(f.GirdleThick), 0, 3)) +
            "   Vol/W\xB3 = " + Trim(fixed(f.VolumeRatio(), 0, 3)),
        IntText(f.CrownFacets) + " crown, " + IntText(f.PavilionFacets) + " pavilion, " +
            IntText(f.GirdleFacets) + " girdle facets",
        "gear " + IntText(std::abs(f.SystemIndex)) + ", " + IntText(f.Parts) + "-fold" +
            (f.Mirror ? " mirror-image" : "") + " symmetry",
    };
    if (!partner) return lines;
    const TGem& crown = design.IsCrown() ? design : *partner;
    const TGem& pavilion = design.IsCrown() ? *partner : design;
    for (const std::string& finding : CompareGirdles(crown, pavilion).Findings)
        lines.push_back("Note: " + finding);
    return lines;
}

void DrawStoneViews(DrawSurface& surface, const Stone& stone, int left, int top, int width, int height) {
    const int cellWidth = width / 2, cellHeight = height / 2;
    const Vector3 extent = stone.BoxMax - stone.BoxMin;
    const double span = double(std::max({extent.x, extent.y, extent.z}));
    const double scale = span > 0 ? ViewFill * std::min(cellWidth, cellHeight) / span : 1;
    for (int v = 0; v < 4; ++v)
        DrawView(surface, stone, Views[v], left + (v % 2) * cellWidth, top + (v / 2) * cellHeight, cellWidth,
                 cellHeight, scale);
}

FacetingDiagram DiagramOf(const TGem* crownOrNull, const TGem* pavilion, const Stone& stone,
                          const std::string& fileTitle) {
    FacetingDiagram diagram;
    diagram.Crown = crownOrNull;
    diagram.Pavilion = pavilion;
    diagram.WholeStone = &stone;
    const TGem& crown = crownOrNull ? *crownOrNull : *pavilion; // the half whose text names the design
    diagram.Title = Trim(crown.TextLine(CutNameLine));
    if (diagram.Title.empty()) diagram.Title = Trim(crown.TextLine(1));
    if (diagram.Title.empty()) diagram.Title = fileTitle;
    for (int k = 2; k <= 4; ++k)
        if (!Trim(crown.TextLine(k)).empty()) diagram.Notes.push_back(Trim(crown.TextLine(k)));
    diagram.Instructions = crownOrNull && pavilion
                               ? InstructionsOf(StoneCuttingInstructions(*crownOrNull, *pavilion))
                               : CuttingInstructions(crown);
    return diagram;
}

namespace {
const char* const TableFont = "Courier New";
constexpr int TableSizes[] = {TextSize, 8, 7, 6};        // the tier table shrinks to fit the page,
constexpr double ViewShares[] = {ViewShare, 0.30, 0.22}; // then the views make room

struct TableLayout {
    double ViewShare = 0;
    int FontSize = 0;
};

// The largest table font, with the views as large as they can stay, that fits all rows below the views
// in `room` (the page's height left for views and table); the smallest of both when none does.
TableLayout FitTable(DrawSurface& surface, std::size_t rows, int room) {
    const int height = surface.DeviceHeight();
    for (const double share : ViewShares)
        for (const int size : TableSizes) {
            surface.SetFont(TableFont, size, false);
            const int tableHeight = static_cast<int>(rows) * (surface.TextHeight("Xg") + 2);
            if (2 * (static_cast<int>(height * share) / 2) + tableHeight <= room) return {share, size};
        }
    return {ViewShares[std::size(ViewShares) - 1], TableSizes[std::size(TableSizes) - 1]};
}

// The rows when `fit` of them fit; else the first ones and a last row that says how many are left out.
std::vector<std::string> Shortened(std::vector<std::string> rows, int fit) {
    if (fit <= 0 || rows.size() <= static_cast<std::size_t>(fit)) return rows;
    const std::size_t kept = static_cast<std::size_t>(fit) - 1;
    const std::string note = "... " + IntText(static_cast<long long>(rows.size() - kept)) + " more rows";
    rows.resize(kept);
    rows.push_back(note);
    return rows;
}

// Device pixels per pixel of a page at 96 dots per inch: the layout's margin and gaps are given at 96.
double DevicePerPagePixel(const DrawSurface& surface) {
    const PageMetrics page = surface.Page();
    return page.WidthMm > 0 ? page.WidthPx * 25.4 / (page.WidthMm * 96.0) : 1;
}
} // namespace

void DrawFacetingDiagram(DrawSurface& surface, const FacetingDiagram& diagram) {
    const int width = surface.DeviceWidth(), height = surface.DeviceHeight();
    const double k = DevicePerPagePixel(surface);
    auto px = [k](int pagePixels) { return static_cast<int>(std::lround(pagePixels * k)); };
    const int margin = px(Margin);
    surface.SetPenColor(ColourWhite);
    surface.SetBrushColor(ColourWhite);
    surface.Rectangle(0, 0, width, height);
    surface.SetFontColor(ColourBlack);

    int y = margin;
    surface.SetFont(Font, TitleSize, true);
    surface.TextOut(margin, y, diagram.Title);
    y += surface.TextHeight(diagram.Title) + px(4);
    surface.SetFont(Font, TextSize, false);
    y += WriteLines(surface, diagram.Notes, margin, y, height - margin) + px(6);

    const Stone& stone = *diagram.WholeStone;
    const TGem& first = diagram.Crown ? *diagram.Crown : *diagram.Pavilion;
    const TGem* second = diagram.Crown ? diagram.Pavilion : nullptr;
    std::vector<std::string> figures = StoneFigureLines(stone, first, second);
    if (!diagram.Weight.empty()) figures.push_back(diagram.Weight);
    surface.SetFont(Font, TextSize, false);
    const int figuresHeight = static_cast<int>(figures.size()) * (surface.TextHeight("Xg") + 2) + px(8);

    const std::vector<std::string> rows = InstructionRows(diagram.Instructions);
    const TableLayout layout = FitTable(surface, rows.size(), height - margin - y - figuresHeight - px(8));
    const int viewsHeight = 2 * (static_cast<int>(height * layout.ViewShare) / 2);
    DrawStoneViews(surface, stone, margin, y, width - 2 * margin, viewsHeight);
    y += viewsHeight + px(8);

    surface.SetFont(Font, TextSize, false);
    y += WriteLines(surface, figures, margin, y, height - margin) + px(8);

    surface.SetFont(TableFont, layout.FontSize, false);
    WriteLines(surface, Shortened(rows, (height - margin - y) / (surface.TextHeight("Xg") + 2)), margin, y,
               height - margin);
}
