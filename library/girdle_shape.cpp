// Shape classes of girdle outlines. The rules (docs/library.md) look at the outline in its smallest
// bounding rectangle: the ratio of its sides, how much of the rectangle the outline fills, and its
// sharp corners, where the outline turns by at least SharpTurn degrees.
#include "library/girdle_shape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {
constexpr double SharpTurn = 35;     // degrees: a sharper turn is a corner of the shape
constexpr double MergeTurn = 10;     // degrees: turns this sharp join a corner across ...
constexpr double ShortEdge = 0.03;   // ... an edge shorter than this share of the perimeter
constexpr double SquareRatio = 1.06; // long side to short side below this: as wide as long
constexpr double HeartRatio = 1.15;  // a one-pointed outline shorter than this is a heart
constexpr double FullFill = 0.95;    // square and rectangle fill their rectangle at least this
constexpr double CushionFill = 0.86; // an outline without corners this full is a cushion
constexpr double TipReach = 0.35;    // a tip lies at least this share of the length from the middle ...
constexpr double TipOffAxis = 0.2;   // ... and at most this share of the width off the long axis
constexpr double TipTurn = 60;       // degrees: the tip of a pear, heart or marquise turns at least this
constexpr double ShoulderTurn = 45;  // degrees: other corners of a pear or heart turn less
constexpr double TriangleFill = 0.8; // a triangle fills at least this of its smallest enclosing triangle
constexpr double SymmetryTolerance = 0.03; // share of the mean radius by which turned outlines may differ
constexpr int SymmetrySamples = 72;        // directions compared
constexpr double AlignedPreference =
    0.85; // a turned rectangle must be this much smaller than the upright one
constexpr double RightTurnLow = 60, RightTurnHigh = 120;  // the corners of a rectangle
constexpr double EighthTurnLow = 25, EighthTurnHigh = 65; // the corners of an octagon

constexpr std::array<const char*, 11> Names = {"round",    "oval",    "pear",      "marquise",
                                               "heart",    "square",  "rectangle", "octagon",
                                               "triangle", "cushion", "other"};

double Degrees(double radians) {
    return radians * 180 / std::numbers::pi;
}

double Length(const OutlinePoint& a, const OutlinePoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// The outline in the frame of its smallest bounding rectangle: u along the long side, v across, the
// rectangle's middle at the origin.
struct Frame {
    double Long = 0, Short = 0;
    double ux = 1, uy = 0; // the long side's direction
    double cx = 0, cy = 0; // the middle
    double U(const OutlinePoint& p) const { return (p.x - cx) * ux + (p.y - cy) * uy; }
    double V(const OutlinePoint& p) const { return -(p.x - cx) * uy + (p.y - cy) * ux; }
};

// The outline's frame: the upright bounding rectangle (designs are cut with their axes along x and y),
// unless a turned one is much smaller: a convex polygon's smallest bounding rectangle has a side along
// one of its edges.
Frame BoundingFrame(const std::vector<OutlinePoint>& p) {
    Frame best;
    double bestArea = INFINITY;
    for (size_t i = 0; i <= p.size(); ++i) { // i == p.size(): upright
        const OutlinePoint& a = p[i % p.size()];
        const OutlinePoint& b = p[(i + 1) % p.size()];
        const double len = i == p.size() ? 1 : Length(a, b);
        if (len == 0) continue;
        const double dx = i == p.size() ? 1 : (b.x - a.x) / len, dy = i == p.size() ? 0 : (b.y - a.y) / len;
        double u0 = INFINITY, u1 = -INFINITY, v0 = INFINITY, v1 = -INFINITY;
        for (const OutlinePoint& q : p) {
            const double u = q.x * dx + q.y * dy, v = -q.x * dy + q.y * dx;
            u0 = std::min(u0, u), u1 = std::max(u1, u), v0 = std::min(v0, v), v1 = std::max(v1, v);
        }
        const double area = (u1 - u0) * (v1 - v0) * (i == p.size() ? AlignedPreference : 1);
        if (area >= bestArea) continue;
        bestArea = area;
        const double um = (u0 + u1) / 2, vm = (v0 + v1) / 2;
        best.cx = um * dx - vm * dy;
        best.cy = um * dy + vm * dx;
        if (u1 - u0 >= v1 - v0) {
            best.Long = u1 - u0, best.Short = v1 - v0, best.ux = dx, best.uy = dy;
        } else {
            best.Long = v1 - v0, best.Short = u1 - u0, best.ux = -dy, best.uy = dx;
        }
    }
    return best;
}

struct Corner {
    double Turn = 0; // degrees
    OutlinePoint At;
};

// The turn at every corner of a counter-clockwise polygon, degrees.
std::vector<double> Turns(const std::vector<OutlinePoint>& p) {
    std::vector<double> turns(p.size());
    for (size_t i = 0; i < p.size(); ++i) {
        const OutlinePoint& a = p[(i + p.size() - 1) % p.size()];
        const OutlinePoint& b = p[i];
        const OutlinePoint& c = p[(i + 1) % p.size()];
        const double in = std::atan2(b.y - a.y, b.x - a.x), out = std::atan2(c.y - b.y, c.x - b.x);
        double turn = Degrees(out - in);
        while (turn < 0)
            turn += 360;
        while (turn >= 360)
            turn -= 360;
        turns[i] = turn > 180 ? 0 : turn; // a reflex corner cannot occur in a convex outline
    }
    return turns;
}

// The corners of the shape: runs of marked turns joined across short edges, each taken as one corner
// with the sum of the turns, kept when that sum is sharp.
std::vector<Corner> SharpCorners(const std::vector<OutlinePoint>& p) {
    const std::vector<double> turns = Turns(p);
    double perimeter = 0;
    for (size_t i = 0; i < p.size(); ++i)
        perimeter += Length(p[i], p[(i + 1) % p.size()]);
    const size_t n = p.size();
    auto joined = [&](size_t i) { // corner i joins corner i + 1
        return turns[i] >= MergeTurn && turns[(i + 1) % n] >= MergeTurn &&
               Length(p[i], p[(i + 1) % n]) < ShortEdge * perimeter;
    };
    // Start after a corner that does not join the next one, so that no run wraps round.
    size_t start = 0;
    while (start < n && joined(start))
        ++start;
    if (start == n) return {}; // everything joined: a smooth outline of tiny edges
    std::vector<Corner> corners;
    Corner run;
    double weight = 0;
    for (size_t k = 1; k <= n; ++k) {
        const size_t i = (start + k) % n;
        run.Turn += turns[i];
        run.At.x += turns[i] * p[i].x, run.At.y += turns[i] * p[i].y, weight += turns[i];
        if (joined(i)) continue;
        if (run.Turn >= SharpTurn) {
            run.At.x /= weight, run.At.y /= weight;
            corners.push_back(run);
        }
        run = Corner{};
        weight = 0;
    }
    return corners;
}

bool AllTurnsWithin(const std::vector<Corner>& corners, double low, double high) {
    return std::all_of(corners.begin(), corners.end(),
                       [&](const Corner& c) { return c.Turn >= low && c.Turn <= high; });
}

// Where a tip lies: at one end (-1 or +1) of the long axis, or 0 when it is no tip. An outline about
// as wide as long has its tips at the ends of either axis (2 and -2 for the short one).
int TipEnd(const Frame& f, const Corner& c, bool asWideAsLong) {
    if (c.Turn < TipTurn) return 0;
    const double u = f.U(c.At) / f.Long, v = f.V(c.At) / f.Short;
    if (std::fabs(u) >= TipReach && std::fabs(v) <= TipOffAxis) return u > 0 ? 1 : -1;
    if (asWideAsLong && std::fabs(v) >= TipReach && std::fabs(u) <= TipOffAxis) return v > 0 ? 2 : -2;
    return 0;
}

// How much of the smallest triangle round it a convex polygon fills. The triangle is sought among those
// whose sides lie on lines of the polygon's longer edges (a triangle's sides are long).
double TriangleFilled(const std::vector<OutlinePoint>& p) {
    const size_t n = p.size();
    double perimeter = 0;
    for (size_t i = 0; i < n; ++i)
        perimeter += Length(p[i], p[(i + 1) % n]);
    struct Line {
        double nx, ny, c; // outward normal; the polygon lies where nx x + ny y <= c
        double angle;
    };
    std::vector<Line> lines;
    for (size_t i = 0; i < n; ++i) {
        const OutlinePoint& a = p[i];
        const OutlinePoint& b = p[(i + 1) % n];
        const double len = Length(a, b);
        if (len < ShortEdge * perimeter) continue;
        const double nx = (b.y - a.y) / len, ny = -(b.x - a.x) / len;
        lines.push_back({nx, ny, nx * a.x + ny * a.y, std::atan2(ny, nx)});
    }
    auto meet = [](const Line& l, const Line& m, OutlinePoint& at) {
        const double det = l.nx * m.ny - l.ny * m.nx;
        if (std::fabs(det) < 1e-12) return false;
        at = {(l.c * m.ny - l.ny * m.c) / det, (l.nx * m.c - l.c * m.nx) / det};
        return true;
    };
    double smallest = INFINITY;
    for (size_t i = 0; i < lines.size(); ++i)
        for (size_t j = i + 1; j < lines.size(); ++j)
            for (size_t k = j + 1; k < lines.size(); ++k) {
                // The three normals, in angle order, must leave no gap of half a turn or more.
                std::array<double, 3> a = {lines[i].angle, lines[j].angle, lines[k].angle};
                std::sort(a.begin(), a.end());
                const double pi = std::numbers::pi;
                if (a[1] - a[0] >= pi || a[2] - a[1] >= pi || a[0] + 2 * pi - a[2] >= pi) continue;
                OutlinePoint x, y, z;
                if (!meet(lines[i], lines[j], x) || !meet(lines[j], lines[k], y) ||
                    !meet(lines[k], lines[i], z))
                    continue;
                smallest = std::min(smallest, std::fabs(SignedArea({x, y, z})));
            }
    return std::isfinite(smallest) && smallest > 0 ? SignedArea(p) / smallest : 0;
}

// The centroid of the area a polygon encloses (however its corners are spread along it).
OutlinePoint Centroid(const std::vector<OutlinePoint>& p) {
    double cx = 0, cy = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const OutlinePoint& a = p[i];
        const OutlinePoint& b = p[(i + 1) % p.size()];
        const double cross = a.x * b.y - b.x * a.y;
        cx += (a.x + b.x) * cross, cy += (a.y + b.y) * cross;
    }
    const double area6 = 6 * SignedArea(p);
    return {cx / area6, cy / area6};
}

// Whether turning the outline by a 1/order of a full turn about its centroid leaves it the same, compared
// by its extent in SymmetrySamples directions.
bool TurnsIntoItself(const std::vector<OutlinePoint>& p, int order) {
    const OutlinePoint centre = Centroid(p);
    auto extent = [&](double angle) { // how far the outline reaches from the centre in this direction
        double reach = -INFINITY;
        for (const OutlinePoint& q : p)
            reach = std::max(reach, (q.x - centre.x) * std::cos(angle) + (q.y - centre.y) * std::sin(angle));
        return reach;
    };
    std::vector<double> h(SymmetrySamples);
    double mean = 0;
    for (int k = 0; k < SymmetrySamples; ++k)
        mean += (h[k] = extent(2 * std::numbers::pi * k / SymmetrySamples)) / SymmetrySamples;
    const int step = SymmetrySamples / order;
    double worst = 0;
    for (int k = 0; k < SymmetrySamples; ++k)
        worst = std::max(worst, std::fabs(h[k] - h[(k + step) % SymmetrySamples]));
    return worst <= SymmetryTolerance * mean;
}

double Cross2(const OutlinePoint& o, const OutlinePoint& a, const OutlinePoint& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

std::vector<OutlinePoint> CounterClockwise(std::vector<OutlinePoint> p) {
    if (SignedArea(p) < 0) std::reverse(p.begin(), p.end());
    std::vector<OutlinePoint> distinct;
    for (const OutlinePoint& q : p)
        if (distinct.empty() || Length(distinct.back(), q) > 1e-9) distinct.push_back(q);
    while (distinct.size() > 1 && Length(distinct.front(), distinct.back()) <= 1e-9)
        distinct.pop_back();
    return distinct;
}
} // namespace

std::string ShapeName(ShapeClass shape) {
    return Names[static_cast<size_t>(shape)];
}

std::optional<ShapeClass> ShapeNamed(const std::string& name) {
    if (name == "emerald") return ShapeClass::Octagon;
    for (const ShapeClass shape : AllShapes)
        if (ShapeName(shape) == name) return shape;
    return std::nullopt;
}

double SignedArea(const std::vector<OutlinePoint>& p) {
    double twice = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const OutlinePoint& a = p[i];
        const OutlinePoint& b = p[(i + 1) % p.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

std::vector<OutlinePoint> ConvexHull(std::vector<OutlinePoint> p) {
    std::sort(p.begin(), p.end(), [](const OutlinePoint& a, const OutlinePoint& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    if (p.size() < 3) return p;
    std::vector<OutlinePoint> hull(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) { // lower chain
        while (k >= 2 && Cross2(hull[k - 2], hull[k - 1], p[i]) <= 0)
            --k;
        hull[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i-- > 0;) { // upper chain
        while (k >= t && Cross2(hull[k - 2], hull[k - 1], p[i]) <= 0)
            --k;
        hull[k++] = p[i];
    }
    hull.resize(k - 1);
    return hull;
}

ShapeClass ClassifyOutline(const std::vector<OutlinePoint>& outline) {
    const std::vector<OutlinePoint> p = CounterClockwise(outline);
    if (p.size() < 3) return ShapeClass::Other;
    const Frame frame = BoundingFrame(p);
    if (frame.Short <= 0) return ShapeClass::Other;
    const double ratio = frame.Long / frame.Short;
    const double fill = SignedArea(p) / (frame.Long * frame.Short);
    const std::vector<Corner> corners = SharpCorners(p);
    const bool asWideAsLong = ratio < SquareRatio;

    // Three-fold turning symmetry without two-fold (which a round or a hexagon has too).
    if (TurnsIntoItself(p, 3) && !TurnsIntoItself(p, 2)) return ShapeClass::Triangle;
    std::vector<int> tips;
    int shoulders = 0; // corners that are no tips
    for (const Corner& c : corners) {
        if (const int end = TipEnd(frame, c, asWideAsLong))
            tips.push_back(end);
        else
            shoulders += c.Turn >= ShoulderTurn ? 1 : 0;
    }
    if (corners.empty()) {
        if (fill >= CushionFill) return ShapeClass::Cushion;
        return asWideAsLong ? ShapeClass::Round : ShapeClass::Oval;
    }
    if (tips.size() == 2 && tips[0] == -tips[1] && corners.size() == 2) return ShapeClass::Marquise;
    if (tips.size() == 1 && shoulders == 0) return ratio < HeartRatio ? ShapeClass::Heart : ShapeClass::Pear;
    if (TriangleFilled(p) >= TriangleFill) return ShapeClass::Triangle;
    if (corners.size() == 4 && AllTurnsWithin(corners, RightTurnLow, RightTurnHigh)) {
        if (fill < FullFill) return ShapeClass::Cushion;
        return asWideAsLong ? ShapeClass::Square : ShapeClass::Rectangle;
    }
    if (corners.size() == 8 && AllTurnsWithin(corners, EighthTurnLow, EighthTurnHigh))
        return ShapeClass::Octagon;
    return ShapeClass::Other;
}
