// Measurements of the computed stone and the texts of the proportion block.
#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {
constexpr Real ParallelToY = 0.1L;  // an edge this close to vertical in x runs along the y axis
constexpr Real GirdlePlaneZ = 0.1L; // a point this close to z = 0 lies in the girdle plane
constexpr Real SamePoint = 0.1L;    // per coordinate, for finding the clicked corner's edges
constexpr int MaxCornerEdges = 100; // girdle edges collected at one corner
constexpr Real MinTableWidth = 1;   // a smaller table is not announced
constexpr char SuperscriptThree = '\xB3';
constexpr int LogLines = 2;   // message lines 1 and 2 are the measurement log
constexpr int CornerLine = 4; // message line of the latest corner-to-corner text
} // namespace

// Marks every facet whose polygon an earlier facet already has: two facets of one plane (a design may
// list a plane twice) make one face of the stone, to be counted once.
TGem::FacetMarks TGem::RepeatedFaces() const {
    FacetMarks repeated{"Repeated faces"};
    std::set<std::vector<int>> faces;
    for (int f = -1; f <= FacetCount; ++f) {
        const Facet& facet = Facets[f];
        repeated[f] = false;
        if (facet.CornerCount == 0) continue;
        std::vector<int> corners;
        for (int c = 1; c < facet.CornerCount; ++c) // the last corner repeats the first
            corners.push_back(facet.Corners[c]);
        std::sort(corners.begin(), corners.end());
        repeated[f] = !faces.insert(corners).second;
    }
    return repeated;
}

Real TGem::Volume() const {
    const FacetMarks repeated = RepeatedFaces();
    Real volume = 0;
    for (int i = -1; i <= FacetCount; ++i) {
        const Facet& facet = Facets[i];
        if (i == 0 || facet.CornerCount == 0 || repeated[i]) continue;
        const Vector3& p1 = Points[facet.Corners[1]].Position;
        for (int j = 2; j <= facet.CornerCount - 2; ++j) {
            const Vector3& pj = Points[facet.Corners[j]].Position;
            const Vector3& pk = Points[facet.Corners[j + 1]].Position;
            volume += std::fabs(Dot(p1, Cross(pj, pk))) / 6;
        }
    }
    return volume;
}

int TGem::FacetsShownCount() const {
    int count = 0;
    for (int t = 1; t <= TierCount; ++t) {
        const Real angle = FacetAngle(Tiers[t].FirstFacet);
        if (!NearZero(angle) && !Near180(angle)) count += Tiers[t].MemberCount;
    }
    return HasTable() ? count + 1 : count;
}

void TGem::ClearMessageLines() {
    for (int k = 1; k <= MessageLineCount; ++k)
        MessageLines[k].clear();
    MessageNext = 1;
}

// Lines 1 and 2 keep the latest two texts: fill the first empty one, else scroll up.
void TGem::LogMessage(const std::string& text) {
    int line = LogLines;
    if (MessageLines[1].empty())
        line = 1;
    else if (!MessageLines[2].empty())
        MessageLines[1] = MessageLines[2];
    MessageLines[line] = text;
    MessageNext = line + 1;
}

std::string TGem::MeasureGirdleEdge(int e) {
    const FacetEdge& edge = Edges[e];
    const Vector3& a = Points[edge.PointA].Position;
    const Vector3& b = Points[edge.PointB].Position;
    Real dcf, lcf;
    if (std::fabs(a.x - b.x) < ParallelToY) {
        dcf = 2 * std::fabs(a.x);
        lcf = std::fabs(b.y - a.y);
    } else {
        const Real slope = (a.y - b.y) / (a.x - b.x);
        const Real intercept = (b.y * a.x - a.y * b.x) / (a.x - b.x);
        dcf = 2 * std::fabs(intercept / std::sqrt(slope * slope + 1));
        lcf = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    }
    const Real index = RoundEven(Index(edge.FacetB));
    const std::string dcfPart = Parts % 2 == 0 ? " Dcf/W = " + fixed(dcf / W(), 4, 3) + "; " : "";
    const std::string text =
        "For Index: " + fixed(ShownIndex(index), 2, 0) + dcfPart + " Lcf/W = " + fixed(lcf / W(), 5, 3);
    LogMessage(text);
    return text;
}

std::optional<Real> TGem::MeasureCornerToCorner(const Vector3& corner) {
    if (Parts % 2 != 0 || std::fabs(corner.z) > GirdlePlaneZ) return std::nullopt;
    auto isCorner = [&](int point) {
        const Vector3& q = Points[point].Position;
        return std::fabs(q.x - corner.x) < SamePoint && std::fabs(q.y - corner.y) < SamePoint &&
               std::fabs(q.z - corner.z) < SamePoint;
    };
    int found[MaxCornerEdges];
    int count = 0;
    for (int e = 1; e <= EdgeCount && count < MaxCornerEdges; ++e) {
        const FacetEdge& edge = Edges[e];
        if (edge.FacetA == 0 && (isCorner(edge.PointA) || isCorner(edge.PointB)))
            found[count++] = edge.FacetB;
    }
    if (count == 0) return std::nullopt;

    const Real distance = 2 * std::sqrt(corner.x * corner.x + corner.y * corner.y);
    const int second = count > 1 ? found[1] : found[0]; // a lone edge names its facet twice
    const std::string text = "CCD" + ZeroPadded(ShownIndex(Index(found[0])), 2, 0) + "/" +
                             ZeroPadded(ShownIndex(Index(second)), 2, 0) + "=" + fixed(distance / W(), 5, 3) +
                             " x W";
    MessageLines[CornerLine] = text;
    if (IsCrown()) LogMessage(text);
    return distance;
}

std::vector<TGem::ProportionLine> TGem::ProportionLines() const {
    const bool cut = FacetCount >= 1;
    const Real w = W(), l = L(), h = H();
    const std::string letter = IsCrown() ? "C" : "P";
    std::vector<ProportionLine> lines;
    auto add = [&](ProportionItem item, std::string text, bool shown) {
        lines.push_back({item, std::move(text), cut && shown});
    };
    add(ProportionItem::Parts,
        fixed(DesignParts, 2, 0) + (DesignParts == 1 ? " identical part" : " identical parts"), true);
    add(ProportionItem::Mirror, "mirror-image symmetry", DesignMirror);
    add(ProportionItem::LengthToWidth, w != 0 ? "L/W = " + fixed(l / w, 4, 3) : "", w != 0);
    const bool tableShown = IsCrown() && HasTable() && T() >= MinTableWidth && w != 0;
    add(ProportionItem::TableToWidth, tableShown ? "T/W = " + fixed(T() * 100 / w, 2, 0) + "%" : "",
        tableShown);
    add(ProportionItem::HeightToLength, l != 0 ? letter + "/L  = " + fixed(h / l, 4, 3) : "", l != 0);
    add(ProportionItem::HeightToWidth, w != 0 ? letter + "/W = " + fixed(h / w, 4, 3) : "", w != 0);
    add(ProportionItem::FacetsShown,
        fixed(FacetsShownCount(), 2, 0) + (IsCrown() ? " crown facets" : " pavilion facets"), true);
    add(ProportionItem::SystemIndexUsed, "system index used is " + fixed(IndexCount(), 3, 0), true);
    add(ProportionItem::Volume,
        w != 0 ? (IsCrown() ? "Vol.Crown = " : "Vol.Pav. = ") + fixed(Volume() / (w * w * w), 7, 3) + " x W" +
                     SuperscriptThree
               : "",
        w != 0);
    add(ProportionItem::Message1, MessageLines[1], !MessageLines[1].empty());
    add(ProportionItem::Message2, MessageLines[2], !MessageLines[2].empty());
    add(ProportionItem::Message4, MessageLines[CornerLine],
        IsPavilion() && !MessageLines[CornerLine].empty());
    return lines;
}
