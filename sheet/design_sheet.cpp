// DrawDesign and its parts: top view, data panel, side views, text lines, separators, highlights.
#include "sheet/design_sheet.h"

#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr Real HalfWidth = TDesignSheet::WorldWidth / 2;
constexpr Real LayoutRadius = TDesignSheet::WorldWidth * 0.58L / 2; // R, half the top view's width
constexpr Real SideRadius = LayoutRadius * 5 / 12;                  // h, half a side view's size
constexpr Real PageShare = 5.0L / 12;
constexpr Real LowerShare = 0.7L;
constexpr Real TopViewHalfX = 120, TopViewHalfY = 50;
constexpr Real DataRows = 14;
constexpr Real TextLineRows = 10.3L;
constexpr Real FacingTolerance = 0.01L;
constexpr Real UprightTolerance = 0.0001L;
constexpr int LabelSize = 7;
constexpr int DimensionLabelSize = 8;
constexpr int TitleSize = 15;
constexpr int SubtitleSize = 10;
constexpr int PanelSize = 10;
constexpr int ScreenTextLineSize = 9;
constexpr int PrinterTextLineSize = 8;
constexpr int AlignLeft = 0, AlignRight = 1, AlignTop = 2, AlignCentre = 3;

std::string WholeNumber(Real v) {
    return IntText(static_cast<long long>(RoundEven(v)));
}

std::string Letter(const TGem& design) {
    return design.IsCrown() ? "C" : "P";
}

// Where each line of the proportion block goes in the data panel (x 0 ... 1, y 0 ... 14).
struct PanelPlace {
    Real x, y;
    int align;
};

PanelPlace PlaceOf(TGem::ProportionItem item) {
    using Item = TGem::ProportionItem;
    switch (item) {
    case Item::Parts:
        return {0.5L, 3, AlignLeft};
    case Item::Mirror:
        return {0.5L, 4, AlignLeft};
    case Item::LengthToWidth:
        return {0.75L, 5, AlignLeft};
    case Item::HeightToWidth:
        return {0.75L, 6, AlignLeft};
    case Item::HeightToLength:
        return {0.75L, 7, AlignLeft};
    case Item::TableToWidth:
        return {0.75L, 8, AlignLeft};
    case Item::Message4:
        return {0.5L, 8, AlignLeft};
    case Item::SystemIndexUsed:
        return {0.5L, 9, AlignLeft};
    case Item::FacetsShown:
        return {0.5L, 10, AlignLeft};
    case Item::Message1:
        return {0.95L, 11, AlignRight};
    case Item::Message2:
        return {0.95L, 12, AlignRight};
    case Item::Volume:
        break;
    }
    return {0.5L, 12.9L, AlignLeft};
}
} // namespace

ViewPoint InView(const TView& view, const Vector3& p) {
    const AxisTriple axes = AxisTable(view.ViewKind);
    return {Coordinate(p, axes.Horizontal), Coordinate(p, axes.Vertical)};
}

Real TDesignSheet::SheetHeight() const {
    return ScreenCanvas->World.YMax;
}

void TDesignSheet::SetUpScreen(TUserCanvas& canvas, DrawSurface* surface, int clientWidth, int clientHeight) {
    ScreenCanvas = &canvas;
    canvas.Init(surface, clientWidth, clientHeight);
    canvas.SetViewport(0, 0, clientWidth, clientHeight);
    canvas.SetWorldIsotropic(1, 0, 0, WorldWidth);
}

void TDesignSheet::RepaintScreen(const TGem& design) {
    ScreenCanvas->ClearAll(ColourWhite);
    DrawDesign(design, *ScreenCanvas);
}

void TDesignSheet::SetUpTopViews(TUserCanvas& canvas) {
    const Real pageBottom = SheetHeight() * PageShare;
    PageView.Init(&canvas, "", 0, 0, HalfWidth, pageBottom, 1);
    PageView.SetWindow(0, 0, HalfWidth, pageBottom);
    const Real cx = PageView.CenterX(), cy = PageView.CenterY();
    TopView.Init(&canvas, "", cx - LayoutRadius, cy - SideRadius, cx + LayoutRadius, cy + SideRadius, 1);
    TopView.ViewKind = 1;
    const Real s = Zoomed(canvas) ? Zoom.Scale : 1;
    const Real cy0 = Zoomed(canvas) ? Zoom.CentreY : 0, cx0 = Zoomed(canvas) ? Zoom.CentreX : 0;
    TopView.SetWindow(cy0 - TopViewHalfX / s, cx0 - TopViewHalfY / s, cy0 + TopViewHalfX / s,
                      cx0 + TopViewHalfY / s);
    // Zoomed, the stone stays inside the page view, clear of the dimension lines.
    const Real gap = 2 * DimGap;
    TopView.SetFrame(gap, gap, HalfWidth - gap, pageBottom - gap);
    TopView.Clipped = PageView.Clipped = Zoomed(canvas);
}

bool TDesignSheet::Zoomed(const TUserCanvas& canvas) const {
    return FitLayout || (!Zoom.IsActualSize() && (!canvas.IsPrinter || ZoomOnPrinter));
}

// Canvas units per design unit at the fixed scale: the top view's 240 units across its port.
static Real FixedScale() {
    return (2 * LayoutRadius + 1) / (2 * TopViewHalfX);
}

// A zoomed side view fills its panel: its port is the panel's free part, and the window, at the common
// scale, is centred on the given design point (across, down; the axis runs as at the fixed scale).
static void ZoomedWindow(TView& view, Real across, Real down, Real scale, bool acrossBackwards,
                         bool downBackwards) {
    const Real unit = FixedScale() * scale;
    const Real halfW = view.PortWidth / (2 * unit), halfH = view.PortHeight / (2 * unit);
    const Real w = acrossBackwards ? -halfW : halfW, h = downBackwards ? -halfH : halfH;
    view.SetWindow(across - w, down - h, across + w, down + h);
    view.Clipped = true;
}

static Real MidHeight(const TGem& design) {
    return (design.BoxMin.z + design.BoxMax.z) / 2;
}

void TDesignSheet::SetUpDataViews(const TGem& design, TUserCanvas& canvas) {
    const Real pageBottom = PageView.PortY2;
    DataView.Init(&canvas, "", HalfWidth, 0, WorldWidth, pageBottom, 1);
    DataView.SetWindow(0, 0, 1, DataRows);
    const Real cy = DataView.CenterY();
    if (Zoomed(canvas)) { // the data panel's left part, beside its texts
        AxisSideView.Init(&canvas, "", HalfWidth + 2, cy - SideRadius, HalfWidth + 2 * SideRadius + 5,
                          cy + SideRadius, 1);
        AxisSideView.ViewKind = 2;
        ZoomedWindow(AxisSideView, MidHeight(design), Zoom.CentreX, Zoom.Scale, true, false);
        return;
    }
    const Real size = design.ViewSize;
    const Real b = design.IsPavilion() ? HalfWidth - (SideRadius - 5)
                                       : HalfWidth - (1 - design.BoxMax.z / size) * SideRadius + 5;
    AxisSideView.Init(&canvas, "", b, cy - SideRadius, b + 2 * SideRadius, cy + SideRadius, 1);
    AxisSideView.ViewKind = 2;
    AxisSideView.SetWindow(size, -size, -size, size);
}

void TDesignSheet::SetUpLowerViews(const TGem& design, TUserCanvas& canvas) {
    const Real top = PageView.PortY2;
    const Real bottom = SheetHeight() * LowerShare;
    LowerLeftView.Init(&canvas, "", 0, top, HalfWidth, bottom, 1);
    LowerLeftView.SetWindow(0, 0, HalfWidth, bottom - top);
    if (Zoomed(canvas)) { // the lower left panel, clear of the height dimension
        LowerLeftView.Clipped = true;
        UprightSideView.Init(&canvas, "", 2, top + 2, HalfWidth - 2 * DimGap, bottom - 2, 1);
        UprightSideView.ViewKind = 3;
        ZoomedWindow(UprightSideView, Zoom.CentreY, MidHeight(design), Zoom.Scale, false, true);
        return;
    }
    const Real size = design.ViewSize;
    const Real a = design.IsCrown() ? top + 5 : top - SideRadius + 5;
    const Real cx = LowerLeftView.CenterX();
    UprightSideView.Init(&canvas, "", cx - SideRadius, a, cx + SideRadius, a + 2 * SideRadius, 1);
    UprightSideView.ViewKind = 3;
    UprightSideView.SetWindow(-size, size, size, -size);
}

void TDesignSheet::ZoomToFit(const TGem& design) {
    TUserCanvas& canvas = *ScreenCanvas;
    Zoom.Scale = 1;
    Zoom.CentreX = (design.BoxMin.x + design.BoxMax.x) / 2;
    Zoom.CentreY = (design.BoxMin.y + design.BoxMax.y) / 2;
    FitLayout = true; // the views as they are laid out zoomed, at the scale 1
    SetUpTopViews(canvas);
    SetUpDataViews(design, canvas);
    SetUpLowerViews(design, canvas);
    FitLayout = false;
    // At scale s a point lies at anchor + s * (its place at scale 1 - anchor), the anchor being the
    // canvas place of the centre, which zooming keeps: the largest s keeps every box corner in frame.
    Real scale = SheetZoom::MaxScale;
    for (const TView* view : {&TopView, &AxisSideView, &UprightSideView}) {
        const ViewPoint centre = InView(*view, {Zoom.CentreX, Zoom.CentreY, MidHeight(design)});
        const Real ax = view->ToCanvasX(centre.h), ay = view->ToCanvasY(centre.v);
        const Real mx = SheetZoom::FitMargin * (view->FrameX2 - view->FrameX1);
        const Real my = SheetZoom::FitMargin * (view->FrameY2 - view->FrameY1);
        auto limit = [&](Real anchor, Real offset, Real low, Real high) {
            if (offset > 0) scale = std::min(scale, (high - anchor) / offset);
            if (offset < 0) scale = std::min(scale, (low - anchor) / offset);
        };
        for (int corner = 0; corner < 8; ++corner) {
            const Vector3 p{corner & 1 ? design.BoxMax.x : design.BoxMin.x,
                            corner & 2 ? design.BoxMax.y : design.BoxMin.y,
                            corner & 4 ? design.BoxMax.z : design.BoxMin.z};
            const ViewPoint q = InView(*view, p);
            limit(ax, view->ToCanvasX(q.h) - ax, view->FrameX1 + mx, view->FrameX2 - mx);
            limit(ay, view->ToCanvasY(q.v) - ay, view->FrameY1 + my, view->FrameY2 - my);
        }
    }
    Zoom.SetScale(scale);
}

void TDesignSheet::DrawDesign(const TGem& design, TUserCanvas& canvas) {
    if (!ScreenCanvas) ScreenCanvas = &canvas; // with no screen, the canvas itself lays the sheet out
    if (&canvas == ScreenCanvas) canvas.ClearAll(ColourWhite);
    SetUpTopViews(canvas);
    const bool hasFacets = design.FacetCount > 0;
    const bool screenOnly = !canvas.IsPrinter;
    if (!hasFacets && (design.EdgeCount >= design.OutlineFirstEdge || design.HoldsOutline()))
        DrawTopViewFacets(design);
    if (!design.AnyFacetShown()) {
        if (screenOnly) DrawPlannedCut(false);
        return;
    }
    if (Options.ShowIndices && screenOnly) DrawEdgeIndexLabels(design);
    if (hasFacets) {
        DrawTopViewFacets(design);
        DrawFacetGroupNumbers(design);
        DrawDimensions(design);
    }
    if (screenOnly && Options.ShowClick) DrawMarkers(TopView);
    DrawDataPanel(design, canvas);
    DrawUprightSide(design, canvas);
    if (hasFacets) DrawFacetTable(design, canvas, false);
    DrawTextLines(design, canvas);
    if (hasFacets) DrawSeparators(canvas);
    if (screenOnly) {
        DrawHighlights(design);
        DrawPlannedCut(hasFacets);
    }
}

void TDesignSheet::DrawFullPage(const TGem& design, TUserCanvas& canvas) {
    if (!ScreenCanvas) ScreenCanvas = &canvas;
    SetUpTopViews(canvas);
    const bool hasFacets = design.FacetCount > 0;
    if (hasFacets) {
        DrawTopViewFacets(design);
        DrawFacetGroupNumbers(design);
        DrawDimensions(design);
    }
    DrawDataPanel(design, canvas);
    DrawUprightSide(design, canvas);
    if (hasFacets) DrawFacetTable(design, canvas, true);
    DrawTextLines(design, canvas);
}

// Facets seen from the table side of a crown, or from the culet side of a pavilion, and the outline.
void TDesignSheet::DrawTopViewFacets(const TGem& design) {
    for (int f = -1; f <= design.FacetCount; ++f) {
        const Real nz = design.NormalZ(f);
        if (design.IsPavilion() ? nz > FacingTolerance : nz < -FacingTolerance)
            DrawFacet(TopView, design, f, ColourBlack);
    }
    if (!design.HoldsOutline() || TopView.IsPrinter()) return;
    const Colour font = TopView.GetFontColor();
    TopView.SetPenColor(ColourRed);
    TopView.SetFontColor(ColourRed);
    for (int e = design.OutlineFirstEdge; e <= 0; ++e) {
        const FacetEdge& edge = design.Edges[e];
        const ViewPoint a = InView(TopView, design.Points[edge.PointA].Position);
        const ViewPoint b = InView(TopView, design.Points[edge.PointB].Position);
        TopView.Line(a.h, a.v, b.h, b.v);
        TopView.DrawText(WholeNumber(design.ShownIndex(edge.OutlineIndex)), LabelSize, (a.h + b.h) / 2,
                         (a.v + b.v) / 2, AlignCentre, false);
        TopView.Marker(a.h, a.v);
        TopView.Marker(b.h, b.v);
    }
    TopView.SetFontColor(font);
    TopView.SetPenColor(ColourBlack);
}

// The index of the facet beside every girdle edge.
void TDesignSheet::DrawEdgeIndexLabels(const TGem& design) {
    const Colour font = TopView.GetFontColor();
    TopView.SetFontColor(ColourRed);
    for (int e = 1; e <= design.EdgeCount; ++e) {
        const FacetEdge& edge = design.Edges[e];
        if ((edge.FacetA == 0) == (edge.FacetB == 0)) continue;
        const int f = edge.FacetA == 0 ? edge.FacetB : edge.FacetA;
        const Vector3 mid =
            0.5L * (design.Points[edge.PointA].Position + design.Points[edge.PointB].Position);
        const ViewPoint p = InView(TopView, mid);
        TopView.DrawText(WholeNumber(design.LabelIndex(f)), LabelSize, p.h, p.v, AlignCentre, false);
    }
    TopView.SetFontColor(font);
}

void TDesignSheet::DrawFacetGroupNumbers(const TGem& design) {
    int number = 0;
    for (int t = 1; t <= design.TierCount; ++t) {
        const Tier& tier = design.Tiers[t];
        const Real angle = design.FacetAngle(tier.FirstFacet);
        if (angle == 0 || Near180(angle)) continue;
        ++number;
        int shown = NoneFound;
        for (int m = 1; m <= tier.MemberCount && shown == NoneFound; ++m)
            if (design.Facets[tier.Members[m]].CornerCount != 0) shown = tier.Members[m];
        if (shown == NoneFound) continue;
        const std::optional<Vector3> at =
            Near90(design.FacetAngle(shown)) ? design.GirdleLabelAnchor(shown) : design.FacetCentre(shown);
        if (!at) continue;
        const ViewPoint p = InView(TopView, *at);
        TopView.DrawText(IntText(number), LabelSize, p.h, p.v, AlignCentre, true);
    }
    if (const std::optional<Vector3> centre = design.HasTable() ? design.FacetCentre(-1) : std::nullopt) {
        const ViewPoint p = InView(TopView, *centre);
        TopView.DrawText(IntText(number + 1), LabelSize, p.h, p.v, AlignCentre, true);
    }

    const int count = design.IndexCount();
    auto label = [&](int raw) { return "<" + fixed(design.ShownIndex(raw), 2, 0) + ">"; };
    const Real shownTop = design.ShownIndex(count);
    const std::string bottomLabel = "<" + fixed(shownTop == 0 ? count : shownTop, 2, 0) + ">";
    const Real midY = (PageView.Window.YMin + PageView.Window.YMax) / 2;
    PageView.DrawText(bottomLabel, DimensionLabelSize, (PageView.Window.XMin + PageView.Window.XMax) / 2,
                      PageView.Window.YMax - 3, AlignCentre, true);
    PageView.DrawText(label(3 * count / 4), DimensionLabelSize, PageView.Window.XMin + 25, midY, AlignCentre,
                      true);
    PageView.DrawText(label(count / 4), DimensionLabelSize, PageView.Window.XMax - 27, midY, AlignCentre,
                      true);
}

// L along the top, W at the right and, on a crown with a table, T at the left of the page view.
void TDesignSheet::DrawDimensions(const TGem& design) {
    TView& page = PageView;
    auto tickedLine = [&](Real x1, Real y1, Real x2, Real y2, bool horizontal, const std::string& label) {
        page.Line(x1, y1, x2, y2);
        if (horizontal) {
            page.Line(x1, y1 - TickHalf, x1, y1 + TickHalf);
            page.Line(x2, y2 - TickHalf, x2, y2 + TickHalf);
        } else {
            page.Line(x1 - TickHalf, y1, x1 + TickHalf, y1);
            page.Line(x2 - TickHalf, y2, x2 + TickHalf, y2);
        }
        page.DrawText(label, DimensionLabelSize, (x1 + x2) / 2, (y1 + y2) / 2, AlignCentre, true);
    };
    const Real left = TopView.MapXTo(page, design.BoxMin.y);
    const Real right = TopView.MapXTo(page, design.BoxMax.y);
    tickedLine(left, DimGap, right, DimGap, true, "L");
    const Real wx = page.Window.XMax - DimGap;
    tickedLine(wx, TopView.MapYTo(page, design.BoxMin.x), wx, TopView.MapYTo(page, design.BoxMax.x), false,
               "W");
    if (design.IsCrown() && design.HasTable()) {
        const Real top = TopView.MapYTo(page, design.TableMinX);
        const Real bottom = TopView.MapYTo(page, design.TableMaxX);
        if (std::fabs(bottom - top) >= 1) tickedLine(DimGap, top, DimGap, bottom, false, "T");
    }
}

void TDesignSheet::DrawDataPanel(const TGem& design, TUserCanvas& canvas) {
    if (design.FacetCount <= 0) {
        DataView.Init(&canvas, "", HalfWidth, 0, WorldWidth, PageView.PortY2, 1);
        DataView.SetWindow(0, 0, 1, DataRows);
        return;
    }
    SetUpDataViews(design, canvas);
    for (int f = -1; f <= design.FacetCount; ++f)
        if (design.NormalY(f) <= -FacingTolerance) DrawFacet(AxisSideView, design, f, ColourBlack);

    TView& v = DataView;
    v.DrawText(design.TextLine(CutNameLine), TitleSize, 0.5L, 0.2L, AlignTop, true);
    v.DrawText(design.TextLines[AuthorLine], SubtitleSize, 0.5L, 1.7L, AlignTop, true);
    for (const TGem::ProportionLine& line : design.ProportionLines()) {
        if (!line.Shown) continue;
        const PanelPlace place = PlaceOf(line.Item);
        v.DrawText(line.Text, PanelSize, place.x, place.y, place.align, true);
    }
}

void TDesignSheet::DrawUprightSide(const TGem& design, TUserCanvas& canvas) {
    if (design.FacetCount <= 0) {
        const Real top = PageView.PortY2, bottom = SheetHeight() * LowerShare;
        LowerLeftView.Init(&canvas, "", 0, top, HalfWidth, bottom, 1);
        LowerLeftView.SetWindow(0, 0, HalfWidth, bottom - top);
        return;
    }
    SetUpLowerViews(design, canvas);
    for (int f = -1; f <= design.FacetCount; ++f)
        if (design.NormalX(f) <= -UprightTolerance) DrawFacet(UprightSideView, design, f, ColourBlack);

    TView& lower = LowerLeftView;
    const Real x = lower.Window.XMax - DimGap;
    const Real y1 = UprightSideView.MapYTo(lower, design.BoxMin.z);
    const Real y2 = UprightSideView.MapYTo(lower, design.BoxMax.z);
    lower.Line(x, y1, x, y2);
    lower.Line(x - TickHalf, y1, x + TickHalf, y1);
    lower.Line(x - TickHalf, y2, x + TickHalf, y2);
    lower.DrawText(Letter(design), DimensionLabelSize, x, (y1 + y2) / 2, AlignCentre, true);
}

void TDesignSheet::DrawTextLines(const TGem& design, TUserCanvas& canvas) {
    TextLinesView.Init(&canvas, "", HalfWidth, PageView.PortY2, WorldWidth, SheetHeight() * LowerShare, 1);
    TextLinesView.SetWindow(0, 0, 1, TextLineRows);
    if (design.FacetCount <= 0) return;
    const int size = canvas.IsPrinter ? PrinterTextLineSize : ScreenTextLineSize;
    for (int i = 1; i <= 10; ++i)
        TextLinesView.DrawText(design.TextLine(i), size, 0.01L, i - 0.8L, AlignLeft, true);
}

void TDesignSheet::DrawSeparators(TUserCanvas& canvas) {
    DrawSurface& surface = *canvas.Canvas;
    const int width = surface.PenWidth();
    surface.SetPenWidth(1);
    const Real left = PageView.PortX1 + 2;
    const Real right = DataView.PortX2 - 2;
    const Real top = PageView.PortY1 + 1;
    const Real bottom = FacetTableView.PortY2;
    canvas.Line(left, top, right, top);
    for (Real y : {PageView.PortY2, LowerLeftView.PortY2, FacetTableView.PortY2})
        canvas.Line(left, y, right, y);
    canvas.Line(left, top, left, bottom);
    canvas.Line(right, top, right, bottom);
    canvas.Line(PageView.PortX2, top, PageView.PortX2, LowerLeftView.PortY2);
    surface.SetPenWidth(width);
}

void TDesignSheet::DrawHighlights(const TGem& design) {
    HighlightedGroupFirst = HighlightGroup(design, Options.SelectedFacet, TopView, Options.FacetSelected, 1);
    if (Options.ShownTier > 0) {
        HighlightTier(design, Options.ShownTier, TopView);
        DrawFacetGroupNumbers(design);
    }
}

// The planned cut in the top view and, once they are set up, in both side views.
void TDesignSheet::DrawPlannedCut(bool sideViews) {
    std::vector<TView*> views{&TopView};
    if (sideViews) views.insert(views.end(), {&AxisSideView, &UprightSideView});
    for (TView* view : views) {
        const Colour pen = view->GetPenColor();
        view->SetPenColor(ColourBlue);
        for (const std::vector<Vector3>& polygon : Options.PlannedCut)
            for (std::size_t k = 1; k < polygon.size(); ++k) {
                const ViewPoint a = InView(*view, polygon[k - 1]), b = InView(*view, polygon[k]);
                view->Line(a.h, a.v, b.h, b.v);
            }
        view->SetPenColor(pen);
    }
}

void TDesignSheet::DrawMarkers(TView& view) const {
    for (int k = 1; k <= PickMarkers::Count; ++k) {
        if (!Options.Markers.Shown(k)) continue;
        const ViewPoint p = InView(view, {Options.Markers.X(k), Options.Markers.Y(k), 0});
        view.Marker(p.h, p.v);
    }
}

// Outlines the facets in red and fills each that has a centre from there up to the red outline;
// axes other than 1 swap the centre's two coordinates for views drawn the other way round.
void TDesignSheet::HighlightFacets(const TGem& design, TView& view,
                                   const std::vector<TGem::HighlightFacet>& facets, int axes) {
    for (const TGem::HighlightFacet& member : facets)
        DrawFacet(view, design, member.Facet, ColourRed);
    for (const TGem::HighlightFacet& member : facets) {
        if (!member.Filled) continue;
        ViewPoint p = InView(view, {member.CentreX, member.CentreY, member.CentreZ});
        if (axes != 1) std::swap(p.h, p.v);
        view.FloodFillAt(member.Reference ? ColourGrey : ColourSilver, ColourRed, p.h, p.v,
                         FacetRegion(view, design, member.Facet));
    }
}

int TDesignSheet::HighlightGroup(const TGem& design, int facet, TView& view, bool useFacet, int axes) {
    const TGem::HighlightGroup group = design.HighlightGroupFacets(facet, useFacet);
    HighlightFacets(design, view, group.Facets, axes);
    return group.First;
}

void TDesignSheet::HighlightTier(const TGem& design, int t, TView& view) {
    if (t < 1 || t > design.TierCount) return; // a tier number left over from an earlier design
    HighlightFacets(design, view, design.HighlightTierFacets(t), 1);
}
