// The fast way of the cutting engine. It finds exactly the edges, points and polygons of the literal
// way (gem_engine.cpp), with the same numbers in the same order, by skipping only work it can prove
// changes nothing:
//
// 1. Which pairs can make an edge. An end that survives the literal clipping lies within the
//    tolerance of every plane but its pair's, less however far clips carried it off its segment (at
//    most RunPastLimit for one segment), and within PlaneSlack of both planes of its pair. Shifted onto
//    plane j by at most PlaneSlack, it therefore lies in the window of plane j: the part of plane j
//    inside every other plane relaxed by the tolerance, RunPastLimit and PlaneSlack. A window is cut
//    by half-planes from a square that holds every point an end can reach; cutting by only some of the
//    planes leaves a larger window, so any choice of planes is safe and the choice only decides how
//    small the window gets. Pair (j, k) is tried only when plane k passes within twice PlaneSlack of
//    plane j's window and plane j within that of plane k's (the bounding planes -1 and 0 have no
//    window: for them the partner's decides).
// 2. Which planes clip a pair's segment. The literal clipping is run for every tried pair, plane by
//    plane in the same order, with the same arithmetic; a plane is skipped only when a test in single
//    and then in double precision, each with a bound on its rounding error, shows both ends more than
//    the tolerance inside it, where the literal step does nothing. The double test also settles which
//    ends are outside when that is clear.
// 3. Corners and polygons. Corners are looked up in a grid of cells wider than twice the merge
//    distance, taking the lowest-numbered corner within the merge distance, as the literal search
//    does; each polygon chains its facet's edges taken in increasing number, as the literal
//    collection does.
// 4. Threads. The windows and the clipping of the tried pairs are shared among the processor's cores
//    (parallel.h). Each depends on nothing but the planes; the calling thread joins the clipped pairs
//    into edges and corners in the literal order, so the stone does not depend on how the work was
//    shared, and progress is reported from the calling thread as the literal way reports it.
//
// What it cannot prove (a plane that is no unit normal or lies beyond MaxPlaneDistance) or would not
// speed up (an open stone, whose windows reach the edge of their square) it leaves to the literal way
// before it has changed anything.
#include "gem/engine_kernels.h"
#include "gem/engine_parts.h"
#include "gem/gem.h"
#include "gem/parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>
#include <vector>

namespace {

// Planes beyond this distance from the origin are left to the literal way.
constexpr Real MaxPlaneDistance = 1e4L;
// Normals further from unit length than this are left to the literal way.
constexpr Real UnitNormalSlack = 0.001L;
// Bounds that hold for normals within that slack, taken with room to spare.
constexpr double NormalFactor = 1.01;
// Half the side of the square each window is cut from. It holds every point an end can reach: a
// pair's first ends solve its two plane equations with a determinant above the parallel test, so they
// lie within 2 (MaxPlaneDistance + 400) / 0.001, about 2.1e7, of the origin, and clips keep the ends
// between them (or RunPastLimit off). A window that reaches the square's edge belongs to an open
// stone and would admit nearly every pair: such designs go the literal way.
constexpr double WindowSquare = 1e8;
// Room for the rounding of the window arithmetic (values of about 1e6 in double precision).
constexpr double WindowMargin = 1e-6;
// A window side is tightened by a plane that cuts the window by more than this.
constexpr double CutMargin = 1e-9;
// Corner grids need cells this wide at least; below it the literal search is used.
constexpr Real SmallestGridCell = 1e-9L;
// Corner grid cells are this many merge distances wide: more than twice, so that the corners within
// the merge distance of a point lie in at most two cells along each axis.
constexpr Real GridCellWidth = 4;
constexpr std::size_t FirstGridSize = 8192;
constexpr int Lanes = 8;
// Seeds cut a window first: the SeedsPerSector most alike planes of each of SeedSectors sectors of
// lean, so that the first cuts close the window on every side.
constexpr int SeedSectors = 8;
constexpr int SeedsPerSector = 2;
// The slots of the two bounding planes (facets -1 and 0). Their windows would hold a side for every
// facet that meets them, many times the work of any other, and would tell little: whether a bounding
// plane pairs with plane k is told as closely by whether it passes near plane k's window. They get
// none, and each pair with them is tried on its partner's window alone (either window proves the pair
// may make an edge).
constexpr int BoundingSlots = 2;

struct Point2 {
    double s = 0, t = 0;
};

// A window with the box and the disc that hold it.
struct Window {
    std::vector<Point2> corners, spare;
    std::vector<double> values; // of the plane that cuts it, at its corners
    double smin = 0, smax = 0, tmin = 0, tmax = 0;
    double cs = 0, ct = 0, radius = 0;
};

// A plane's value at o + s u + t v in the frame (o, u, v) of a window's plane, as c + a s + b t.
struct PlaneLine {
    double a, b, c;
};

// A plane near a window, with its line there.
struct NearPlane {
    int plane;
    PlaneLine line;
    double low; // its least value over the window, for cutters
};

// What one thread needs to find windows: the frame (o, u, v) of the plane at hand, its window, the
// planes near it, and the planes its windows admit, window after window.
struct alignas(64) WindowWork {
    double o[3], u[3], v[3];
    Window window;
    std::vector<int> near, seeds, admitted;
    std::vector<NearPlane> cutters, candidates;
    std::vector<std::pair<double, int>> likeness;
};

// Where one window's admitted planes lie: in the work of which thread, from where to where.
struct AdmittedRange {
    int worker = 0, first = 0, last = 0;
};

// A tried pair and its segment after the clipping.
struct TriedPair {
    int j = 0, k = 0;
    bool kept = false;
    Vector3 end1, end2;
};
} // namespace

struct engine::Scratch {
    // The planes -1 ... FacetCount in double and single precision, at slot facet + 1, padded to a
    // multiple of Lanes and then by Lanes more with planes that every point is deep inside.
    std::vector<double> nx, ny, nz, nd;
    std::vector<float> fx, fy, fz, fd;
    std::vector<Plane> planes; // the long double planes, side by side
    int slots = 0;
    double farthest = 0; // largest |Dist|

    // Planes grouped by the direction of their normal, to seed each window with its likely sides.
    int cells = 1;
    std::vector<int> cellStart, cellPlanes, cellOfPlane;

    // Per thread, the work of finding windows; per plane, where the planes its window admits lie, in
    // increasing number.
    std::vector<WindowWork> workers;
    std::vector<AdmittedRange> ranges;

    // The pairs to try, j by j (those of plane j from pairStart[j + 1] up to pairStart[j + 2]), and
    // what their clipping left.
    std::vector<TriedPair> pairs;
    std::vector<int> pairStart;

    // Corner lookup grid: chains of corner numbers per hashed cell.
    std::vector<int> head, next;
    std::vector<std::array<std::int64_t, 3>> cellOf;
    double cellSize = 0;
    bool grid = false;

    // Edges of each facet in increasing number, for the polygons.
    std::vector<int> edgeStart, facetEdges, fill;
};

TGem::ScratchSlot::ScratchSlot() = default;
TGem::ScratchSlot::~ScratchSlot() {
    delete scratch_;
}
TGem::ScratchSlot::ScratchSlot(const ScratchSlot&) {}
TGem::ScratchSlot& TGem::ScratchSlot::operator=(const ScratchSlot&) {
    return *this;
}
engine::Scratch& TGem::ScratchSlot::Get() {
    if (!scratch_) scratch_ = new engine::Scratch;
    return *scratch_;
}

namespace {

bool ProvablePlanes(const TGem& gem) {
    for (int l = -1; l <= gem.FacetCount; ++l) {
        const Facet& f = gem.Facets[l];
        const Real length2 = Dot(f.Normal, f.Normal);
        if (!std::isfinite(length2) || !std::isfinite(f.Dist)) return false;
        if (std::fabs(std::sqrt(length2) - 1) > UnitNormalSlack) return false;
        if (std::fabs(f.Dist) > MaxPlaneDistance) return false;
    }
    return true;
}

std::size_t Slot(int i) {
    return static_cast<std::size_t>(i);
}

// The shared part of one recompute, on the scratch of one TGem: the planes, their grouping by normal,
// the pairs to try and their clipping.
class FastEngine {
  public:
    FastEngine(const TGem& gem, engine::Scratch& scratch) : gem_(gem), s_(scratch) {}

    void LoadPlanes();
    void GroupByNormal();
    // Finds every plane's window and what it admits; false when a window reaches its square's edge.
    bool AdmitPairs();
    // Lists the pairs to try, j by j and in increasing k.
    void ListPairs();
    // Clips the listed pairs, calling join(i) on this thread for pair after pair, in order, once it
    // is clipped.
    template <typename Join> void ClipPairs(Join join);

  private:
    // Calls `tryPair(k)` for the planes k after j that pair with j to be tried, in increasing order.
    template <typename F> void ForPartners(int j, F tryPair) const;
    void ClipPair(TriedPair& pair, const engine::ClipPlanes& planes) const;

    const TGem& gem_;
    engine::Scratch& s_;
    int count_ = 0; // planes -1 ... FacetCount
};

engine::PlaneColumns ColumnsOf(const engine::Scratch& s) {
    return {s.nx.data(), s.ny.data(), s.nz.data(), s.nd.data(), s.fx.data(),
            s.fy.data(), s.fz.data(), s.fd.data(), s.slots};
}

// Finds windows, one plane after another, on the shared planes and the work of one thread.
class WindowFinder {
  public:
    WindowFinder(const engine::Scratch& shared, int count, WindowWork& work)
        : s_(shared), w_(work), count_(count) {}

    // Finds the window of the plane at slot j and appends the planes it admits to the work's
    // `admitted`; false when the window reaches the edge of its square.
    bool FindWindow(int j);

  private:
    void SetFrame(int j);
    PlaneLine LineOf(int l) const;
    bool Cut(const PlaneLine& line, double relax);
    void Box();
    void Encircle();
    bool ReachesSquare() const;
    void ValueRange(const PlaneLine& line, double& low, double& high) const;
    bool PassesNear(const PlaneLine& line, double reach) const;

    const engine::Scratch& s_;
    WindowWork& w_;
    int count_;
};

void FastEngine::LoadPlanes() {
    count_ = gem_.FacetCount + 2;
    s_.slots = (count_ + Lanes - 1) / Lanes * Lanes;
    const int padded = s_.slots + Lanes;
    for (auto* column : {&s_.nx, &s_.ny, &s_.nz, &s_.nd})
        column->assign(Slot(padded), 0.0);
    for (auto* column : {&s_.fx, &s_.fy, &s_.fz, &s_.fd})
        column->assign(Slot(padded), 0.0f);
    s_.farthest = 0;
    s_.planes.resize(Slot(count_));
    for (int i = 0; i < padded; ++i) {
        const std::size_t slot = Slot(i);
        if (i >= count_) {
            s_.nd[slot] = -1e300, s_.fd[slot] = -1e30f; // every point is deep inside
            continue;
        }
        const Facet& f = gem_.Facets[i - 1];
        s_.planes[slot] = {f.Normal, f.Dist};
        s_.nx[slot] = static_cast<double>(f.Normal.x), s_.fx[slot] = static_cast<float>(s_.nx[slot]);
        s_.ny[slot] = static_cast<double>(f.Normal.y), s_.fy[slot] = static_cast<float>(s_.ny[slot]);
        s_.nz[slot] = static_cast<double>(f.Normal.z), s_.fz[slot] = static_cast<float>(s_.nz[slot]);
        s_.nd[slot] = static_cast<double>(f.Dist), s_.fd[slot] = static_cast<float>(s_.nd[slot]);
        s_.farthest = std::max(s_.farthest, std::fabs(s_.nd[slot]));
    }
}

// Cube-map cells of normal directions: a face per dominant axis and sign, cells x cells on each.
int CellOf(double x, double y, double z, int cells) {
    const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
    int face;
    double p, q, m;
    if (ax >= ay && ax >= az) {
        face = x > 0 ? 0 : 1, p = y, q = z, m = ax;
    } else if (ay >= az) {
        face = y > 0 ? 2 : 3, p = x, q = z, m = ay;
    } else {
        face = z > 0 ? 4 : 5, p = x, q = y, m = az;
    }
    auto bin = [&](double v) {
        return std::clamp(static_cast<int>((v / m + 1) * 0.5 * cells), 0, cells - 1);
    };
    return (face * cells + bin(p)) * cells + bin(q);
}

void FastEngine::GroupByNormal() {
    s_.cells = std::max(1, static_cast<int>(std::sqrt(count_ / 24.0)));
    const int cellCount = 6 * s_.cells * s_.cells;
    s_.cellStart.assign(Slot(cellCount) + 1, 0);
    s_.cellOfPlane.resize(Slot(count_));
    for (int i = 0; i < count_; ++i) {
        s_.cellOfPlane[Slot(i)] = CellOf(s_.nx[Slot(i)], s_.ny[Slot(i)], s_.nz[Slot(i)], s_.cells);
        ++s_.cellStart[Slot(s_.cellOfPlane[Slot(i)]) + 1];
    }
    for (int c = 0; c < cellCount; ++c)
        s_.cellStart[Slot(c) + 1] += s_.cellStart[Slot(c)];
    s_.cellPlanes.resize(Slot(count_));
    s_.fill.assign(s_.cellStart.begin(), s_.cellStart.end() - 1);
    for (int i = 0; i < count_; ++i)
        s_.cellPlanes[Slot(s_.fill[Slot(s_.cellOfPlane[Slot(i)])]++)] = i;
}

// A frame (o, u, v) of plane j: o on the plane, u and v across it.
void WindowFinder::SetFrame(int j) {
    const double nx = s_.nx[Slot(j)], ny = s_.ny[Slot(j)], nz = s_.nz[Slot(j)], nd = s_.nd[Slot(j)];
    double* u = w_.u;
    u[0] = ny, u[1] = -nx, u[2] = 0;                           // n x (0, 0, 1)
    if (std::fabs(nz) >= 0.9) u[0] = 0, u[1] = nz, u[2] = -ny; // n x (1, 0, 0)
    const double length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (int i = 0; i < 3; ++i)
        u[i] /= length;
    w_.v[0] = ny * u[2] - nz * u[1], w_.v[1] = nz * u[0] - nx * u[2], w_.v[2] = nx * u[1] - ny * u[0];
    const double scale = nd / (nx * nx + ny * ny + nz * nz);
    w_.o[0] = nx * scale, w_.o[1] = ny * scale, w_.o[2] = nz * scale;
}

PlaneLine WindowFinder::LineOf(int l) const {
    const double x = s_.nx[Slot(l)], y = s_.ny[Slot(l)], z = s_.nz[Slot(l)];
    return {x * w_.u[0] + y * w_.u[1] + z * w_.u[2], x * w_.v[0] + y * w_.v[1] + z * w_.v[2],
            x * w_.o[0] + y * w_.o[1] + z * w_.o[2] - s_.nd[Slot(l)]};
}

// Keeps the part of the window where the plane's value is at least -relax; false when nothing is left.
bool WindowFinder::Cut(const PlaneLine& line, double relax) {
    const double a = line.a, b = line.b, c = line.c + relax;
    Window& w = w_.window;
    if (c + a * (a > 0 ? w.smin : w.smax) + b * (b > 0 ? w.tmin : w.tmax) >= 0) return true; // all inside
    const std::size_t n = w.corners.size();
    w.values.resize(n);
    bool outside = false;
    for (std::size_t i = 0; i < n; ++i) {
        w.values[i] = c + a * w.corners[i].s + b * w.corners[i].t;
        outside = outside || w.values[i] < 0;
    }
    if (!outside) return true;
    w.spare.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t next = i + 1 < n ? i + 1 : 0;
        const Point2 p = w.corners[i], q = w.corners[next];
        const double fp = w.values[i], fq = w.values[next];
        if (fp >= 0) w.spare.push_back(p);
        if ((fp >= 0) != (fq >= 0)) {
            const double f = fp / (fp - fq);
            w.spare.push_back({p.s + f * (q.s - p.s), p.t + f * (q.t - p.t)});
        }
    }
    w.corners.swap(w.spare);
    if (w.corners.empty()) return false;
    Box();
    return true;
}

void WindowFinder::Box() {
    Window& w = w_.window;
    w.smin = w.tmin = 1e300, w.smax = w.tmax = -1e300;
    for (const Point2& p : w.corners) {
        w.smin = std::min(w.smin, p.s), w.smax = std::max(w.smax, p.s);
        w.tmin = std::min(w.tmin, p.t), w.tmax = std::max(w.tmax, p.t);
    }
}

void WindowFinder::Encircle() {
    Window& w = w_.window;
    w.cs = 0, w.ct = 0;
    for (const Point2& p : w.corners)
        w.cs += p.s, w.ct += p.t;
    w.cs /= static_cast<double>(w.corners.size());
    w.ct /= static_cast<double>(w.corners.size());
    double r2 = 0;
    for (const Point2& p : w.corners)
        r2 = std::max(r2, (p.s - w.cs) * (p.s - w.cs) + (p.t - w.ct) * (p.t - w.ct));
    w.radius = std::sqrt(r2) * (1 + 1e-12) + 1e-12 * (std::fabs(w.cs) + std::fabs(w.ct));
}

bool WindowFinder::ReachesSquare() const {
    constexpr double edge = WindowSquare * (1 - 1e-9);
    const Window& w = w_.window;
    return std::max(std::max(-w.smin, w.smax), std::max(-w.tmin, w.tmax)) >= edge;
}

void WindowFinder::ValueRange(const PlaneLine& line, double& low, double& high) const {
    low = 1e300, high = -1e300;
    for (const Point2& p : w_.window.corners) {
        const double v = line.c + line.a * p.s + line.b * p.t;
        low = std::min(low, v), high = std::max(high, v);
    }
}

// Whether the plane's values over the window reach both `reach` and -reach (or lie between them).
bool WindowFinder::PassesNear(const PlaneLine& line, double reach) const {
    bool low = false, high = false;
    for (const Point2& p : w_.window.corners) {
        const double v = line.c + line.a * p.s + line.b * p.t;
        low = low || v <= reach, high = high || v >= -reach;
        if (low && high) return true;
    }
    return false;
}

bool WindowFinder::FindWindow(int j) {
    const double relax =
        NormalFactor * static_cast<double>(OutsideTolerance + RunPastLimit + PlaneSlack) + WindowMargin;
    const double reach = NormalFactor * static_cast<double>(2 * PlaneSlack) + WindowMargin;
    SetFrame(j);
    Window& w = w_.window;
    w.corners = {{-WindowSquare, -WindowSquare},
                 {WindowSquare, -WindowSquare},
                 {WindowSquare, WindowSquare},
                 {-WindowSquare, WindowSquare}};
    Box();

    // Cut first by the two bounding planes and the planes whose normals lie near plane j's, nearest
    // first, then, while the window is still open, by every plane.
    auto cut = [&](int l) { return l == j || Cut(LineOf(l), relax); };
    for (int l = 0; l < BoundingSlots; ++l)
        if (!cut(l)) return true;
    // Seeds: the planes of the cells about plane j's normal. Those next to its own cell on its face
    // of the cube map, and those half a cell's width away across the plane each way, which reach over
    // the face's edges (where a window seeded from one face alone stays open on the other side).
    std::array<int, 9> cells;
    int cellCount = 0;
    auto addCell = [&](int cell) {
        if (std::find(cells.begin(), cells.begin() + cellCount, cell) == cells.begin() + cellCount)
            cells[Slot(cellCount++)] = cell;
    };
    const int home = s_.cellOfPlane[Slot(j)];
    const int face = home / (s_.cells * s_.cells), hp = home / s_.cells % s_.cells, hq = home % s_.cells;
    for (const auto& [dp, dq] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
        const int p = hp + dp, q = hq + dq;
        if (p >= 0 && q >= 0 && p < s_.cells && q < s_.cells) addCell((face * s_.cells + p) * s_.cells + q);
    }
    const double step = 1.0 / s_.cells;
    for (const auto& [du, dv] : {std::pair{step, 0.0}, {-step, 0.0}, {0.0, step}, {0.0, -step}})
        addCell(CellOf(s_.nx[Slot(j)] + du * w_.u[0] + dv * w_.v[0],
                       s_.ny[Slot(j)] + du * w_.u[1] + dv * w_.v[1],
                       s_.nz[Slot(j)] + du * w_.u[2] + dv * w_.v[2], s_.cells));
    w_.seeds.clear();
    for (int c = 0; c < cellCount; ++c)
        w_.seeds.insert(w_.seeds.end(), s_.cellPlanes.begin() + s_.cellStart[Slot(cells[Slot(c)])],
                        s_.cellPlanes.begin() + s_.cellStart[Slot(cells[Slot(c)]) + 1]);
    // The most alike planes leaning each way from plane j (by the sector of their normal's lean across
    // the plane) cut first, most alike first; then, while the window is open, the others.
    std::array<std::pair<double, int>, SeedSectors * SeedsPerSector> best;
    best.fill({-2, -1});
    w_.likeness.clear();
    for (int l : w_.seeds) {
        const double x = s_.nx[Slot(l)], y = s_.ny[Slot(l)], z = s_.nz[Slot(l)];
        const double alike = x * s_.nx[Slot(j)] + y * s_.ny[Slot(j)] + z * s_.nz[Slot(j)];
        w_.likeness.push_back({alike, l});
        if (l == j) continue;
        const double ds = x * w_.u[0] + y * w_.u[1] + z * w_.u[2],
                     dt = x * w_.v[0] + y * w_.v[1] + z * w_.v[2];
        const int sector = (ds < 0 ? 4 : 0) + (dt < 0 ? 2 : 0) + (std::fabs(ds) < std::fabs(dt) ? 1 : 0);
        auto* slots = &best[Slot(sector * SeedsPerSector)];
        if (alike > slots[SeedsPerSector - 1].first) {
            int at = SeedsPerSector - 1;
            for (; at > 0 && alike > slots[at - 1].first; --at)
                slots[at] = slots[at - 1];
            slots[at] = {alike, l};
        }
    }
    std::sort(best.begin(), best.end(), std::greater<>());
    for (const auto& [alike, l] : best)
        if (l >= 0 && !cut(l)) return true;
    if (ReachesSquare())
        for (const auto& [alike, l] : w_.likeness)
            if (!cut(l)) return true;
    // Cut by every plane, the window is final: no near plane cuts it further.
    bool final = false;
    if (ReachesSquare()) {
        for (int l = 0; l < count_; ++l)
            if (!cut(l)) return true;
        final = true;
    }
    if (ReachesSquare()) return false;
    Encircle();

    // The planes that come near the window's disc: their values over the window tell whether they cut
    // it further and whether they pass near enough to be admitted.
    const double nx = s_.nx[Slot(j)], ny = s_.ny[Slot(j)], nz = s_.nz[Slot(j)];
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    const engine::Disc disc = {w_.o[0] + w.cs * w_.u[0] + w.ct * w_.v[0],
                               w_.o[1] + w.cs * w_.u[1] + w.ct * w_.v[1],
                               w_.o[2] + w.cs * w_.u[2] + w.ct * w_.v[2],
                               nx / length,
                               ny / length,
                               nz / length,
                               NormalFactor * w.radius};
    w_.near.resize(Slot(s_.slots));
    const int nearCount = engine::ListNear(ColumnsOf(s_), disc, reach + WindowMargin, w_.near.data());
    w_.cutters.clear();
    w_.candidates.clear();
    for (int i = 0; i < nearCount; ++i) {
        const int l = w_.near[Slot(i)];
        if (l == j || l >= count_) continue;
        const PlaneLine line = LineOf(l);
        if (line.c + line.a * w.cs + line.b * w.ct - w.radius * (std::fabs(line.a) + std::fabs(line.b)) >
            reach)
            continue; // above `reach` all over the window: neither cuts nor is admitted
        if (final) {
            if (PassesNear(line, reach)) w_.admitted.push_back(l);
            continue;
        }
        double low, high;
        ValueRange(line, low, high);
        if (low < -relax - CutMargin) w_.cutters.push_back({l, line, low});
        if (low <= reach && high >= -reach) w_.candidates.push_back({l, line, low});
    }
    // Cut by the planes that bound it more closely, deepest first, so that the window shrinks soonest,
    // then admit only what passes near what is left.
    std::sort(w_.cutters.begin(), w_.cutters.end(),
              [](const NearPlane& p, const NearPlane& q) { return p.low < q.low; });
    for (const NearPlane& cutter : w_.cutters)
        if (!Cut(cutter.line, relax)) return true;
    for (const NearPlane& candidate : w_.candidates)
        if (PassesNear(candidate.line, reach)) w_.admitted.push_back(candidate.plane);
    return true;
}

// Windows are handed out one at a time: some cost many times the others.
constexpr int WindowBatch = 1;
// Tried pairs are handed out, and joined, this many at a time.
constexpr int PairBatch = 32;

bool FastEngine::AdmitPairs() {
    const int threads = engine::WorkerThreads(count_);
    if (std::ssize(s_.workers) < threads) s_.workers.resize(Slot(threads));
    s_.ranges.resize(Slot(count_));
    engine::WorkQueue queue(count_, WindowBatch);
    std::atomic<bool> open = false;
    engine::RunOnThreads(threads, [&](int worker) {
        WindowWork& work = s_.workers[Slot(worker)];
        work.admitted.clear();
        WindowFinder finder(s_, count_, work);
        queue.Drain([&](int j) {
            const int first = static_cast<int>(work.admitted.size());
            if (j >= BoundingSlots && !finder.FindWindow(j)) open = true;
            s_.ranges[Slot(j)] = {worker, first, static_cast<int>(work.admitted.size())};
            return !open;
        });
    });
    return !open;
}

template <typename F> void FastEngine::ForPartners(int j, F tryPair) const {
    auto admitted = [&](int slot) {
        const AdmittedRange& range = s_.ranges[Slot(slot)];
        const auto from = s_.workers[Slot(range.worker)].admitted.begin();
        return std::pair{from + range.first, from + range.last};
    };
    if (j + 1 < BoundingSlots) { // no window: the partner's alone decides
        for (int k = j + 2; k < count_; ++k) {
            const auto [kFirst, kLast] = admitted(k);
            if (std::binary_search(kFirst, kLast, j + 1)) tryPair(k - 1);
        }
        return;
    }
    const auto [first, last] = admitted(j + 1);
    for (auto it = std::upper_bound(first, last, j + 1); it != last; ++it) {
        const auto [kFirst, kLast] = admitted(*it);
        if (std::binary_search(kFirst, kLast, j + 1)) tryPair(*it - 1);
    }
}

void FastEngine::ClipPair(TriedPair& pair, const engine::ClipPlanes& planes) const {
    engine::Segment segment;
    pair.kept = engine::PairSegment(gem_.Facets[pair.j], gem_.Facets[pair.k], gem_.IsCrown(), segment) &&
                engine::ClipPair(planes, pair.j, pair.k, segment);
    if (pair.kept) pair.end1 = segment.end1, pair.end2 = segment.end2;
}

void FastEngine::ListPairs() {
    s_.pairs.clear();
    s_.pairStart.assign(Slot(count_), 0);
    for (int j = -1; j < gem_.FacetCount; ++j) {
        ForPartners(j, [&](int k) {
            if (j == -1 && k == 0) return; // the two horizontal bounding planes never meet
            s_.pairs.push_back({j, k, false, {}, {}});
        });
        s_.pairStart[Slot(j) + 2] = static_cast<int>(s_.pairs.size());
    }
}

// The clipping of the listed pairs, batch by batch, shared among threads while the calling thread
// joins the clipped pairs in order.
class PairClipping {
  public:
    explicit PairClipping(int pairs)
        : batches_((pairs + PairBatch - 1) / PairBatch), done_(Slot(batches_)), pairs_(pairs),
          failures_(Slot(batches_)) {}

    // Clips batches until none is left; on helper threads.
    template <typename Clip> void Help(Clip clip) {
        for (int batch; (batch = next_.fetch_add(1)) < batches_;)
            ClipBatch(batch, clip);
    }

    // Clips batches and calls join(i) for every pair in order once it is clipped; on the calling
    // thread. Rethrows what a helper's clipping threw, when the join comes to its batch.
    template <typename Clip, typename Join> void ClipAndJoin(Clip clip, Join join) {
        int joined = 0; // batches joined so far
        auto joinReady = [&] {
            for (; joined < batches_ && done_[Slot(joined)].load(std::memory_order_acquire) != Pending;
                 ++joined) {
                if (done_[Slot(joined)].load(std::memory_order_relaxed) == Failed)
                    std::rethrow_exception(failures_[Slot(joined)]);
                for (int i = joined * PairBatch; i < std::min((joined + 1) * PairBatch, pairs_); ++i)
                    join(i);
            }
        };
        try {
            for (int batch; (batch = next_.fetch_add(1)) < batches_;) {
                ClipBatch(batch, clip);
                joinReady();
            }
            while (joined < batches_) {
                joinReady();
                if (joined < batches_) std::this_thread::yield(); // a helper is still at its batch
            }
        } catch (...) {
            next_ = batches_; // the helpers stop after their batch
            throw;
        }
    }

  private:
    enum State : int { Pending, Clipped, Failed };

    template <typename Clip> void ClipBatch(int batch, Clip clip) {
        try {
            for (int i = batch * PairBatch; i < std::min((batch + 1) * PairBatch, pairs_); ++i)
                clip(i);
            done_[Slot(batch)].store(Clipped, std::memory_order_release);
        } catch (...) {
            failures_[Slot(batch)] = std::current_exception(); // read only after the release below
            done_[Slot(batch)].store(Failed, std::memory_order_release);
        }
    }

    int batches_;
    std::vector<std::atomic<int>> done_;
    int pairs_;
    std::vector<std::exception_ptr> failures_;
    std::atomic<int> next_ = 0;
};

template <typename Join> void FastEngine::ClipPairs(Join join) {
    const engine::ClipPlanes planes = {ColumnsOf(s_), s_.planes.data(), count_, s_.farthest};
    const int pairCount = static_cast<int>(s_.pairs.size());
    auto clip = [&](int i) { ClipPair(s_.pairs[Slot(i)], planes); };
    PairClipping clipping(pairCount);
    engine::RunOnThreads(engine::WorkerThreads(pairCount), [&](int worker) {
        if (worker == 0)
            clipping.ClipAndJoin(clip, join);
        else
            clipping.Help(clip);
    });
}

} // namespace

bool TGem::FindEdgesFast(bool showProgress) {
    if (!ProvablePlanes(*this)) return false;
    engine::Scratch& scratch = Scratch.Get();
    FastEngine fast(*this, scratch);
    fast.LoadPlanes();
    fast.GroupByNormal();
    if (!fast.AdmitPairs()) return false;

    // From here on the result is proven: make the edges exactly as the literal way does, pair after
    // pair in the literal order, each plane's progress step before its pairs.
    fast.ListPairs();
    scratch.grid = GridCellWidth * PointMergeDistance >= SmallestGridCell;
    scratch.cellSize = static_cast<double>(GridCellWidth * PointMergeDistance);
    if (scratch.grid) {
        scratch.head.assign(FirstGridSize, -1);
        scratch.next.clear();
        scratch.cellOf.clear();
    }
    int stepped = -1; // the planes before this one have had their progress step
    auto stepUpTo = [&](int pair) {
        for (; stepped < FacetCount && scratch.pairStart[Slot(stepped + 1)] <= pair; ++stepped)
            if (showProgress) Progress->Step();
    };
    fast.ClipPairs([&](int i) {
        stepUpTo(i);
        const TriedPair& pair = scratch.pairs[Slot(i)];
        if (pair.kept) AddEdge(pair.j, pair.k, pair.end1, pair.end2, true);
    });
    stepUpTo(static_cast<int>(scratch.pairs.size()));
    return true;
}

namespace {
std::size_t CellHash(const std::array<std::int64_t, 3>& c, std::size_t size) {
    const auto h = static_cast<std::uint64_t>(c[0]) * 0x9E3779B97F4A7C15ull ^
                   static_cast<std::uint64_t>(c[1]) * 0xC2B2AE3D27D4EB4Full ^
                   static_cast<std::uint64_t>(c[2]) * 0x165667B19E3779F9ull;
    return static_cast<std::size_t>(h >> 20) & (size - 1);
}

// The grid cell of coordinate x: never decreasing in x, which is all the lookup relies on.
std::int64_t CellIndex(double x, double size) {
    const double q = x / size;
    const auto i = static_cast<std::int64_t>(q);
    return q < static_cast<double>(i) ? i - 1 : i;
}

bool SameCell(const std::array<std::int64_t, 3>& a, const std::array<std::int64_t, 3>& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
} // namespace

// FindOrAddPoint by the corner grid: the lowest-numbered corner within the merge distance, else a new
// corner, exactly as the literal search.
int TGem::FindOrAddPointHashed(const Vector3& p) {
    engine::Scratch& s = Scratch.Get();
    if (!s.grid) return FindOrAddPoint(p);
    // The cells of every corner within the merge distance, in double precision with room for the
    // rounding of the point and the bounds.
    const double merge = static_cast<double>(PointMergeDistance) * (1 + 1e-9);
    const double x = static_cast<double>(p.x), y = static_cast<double>(p.y), z = static_cast<double>(p.z);
    auto reach = [&](double c) { return merge + std::fabs(c) * 1e-15; };
    const std::array<std::int64_t, 3> low = {CellIndex(x - reach(x), s.cellSize),
                                             CellIndex(y - reach(y), s.cellSize),
                                             CellIndex(z - reach(z), s.cellSize)};
    const std::array<std::int64_t, 3> high = {CellIndex(x + reach(x), s.cellSize),
                                              CellIndex(y + reach(y), s.cellSize),
                                              CellIndex(z + reach(z), s.cellSize)};
    int found = 0;
    std::array<std::int64_t, 3> cell;
    for (cell[0] = low[0]; cell[0] <= high[0]; ++cell[0])
        for (cell[1] = low[1]; cell[1] <= high[1]; ++cell[1])
            for (cell[2] = low[2]; cell[2] <= high[2]; ++cell[2])
                for (int i = s.head[CellHash(cell, s.head.size())]; i >= 0; i = s.next[Slot(i)]) {
                    const int point = i + 1;
                    if ((found && point > found) || !SameCell(s.cellOf[Slot(i)], cell)) continue;
                    if (ManhattanDistance(Points[point].Position, p) < PointMergeDistance) found = point;
                }
    if (found) return found;

    CornerPoint& point = Points[PointCount + 1];
    point.Flag = false;
    point.Position = p;
    ++PointCount;
    if (Slot(PointCount) * 2 > s.head.size()) {
        // Grow the table and file every corner again.
        s.head.assign(s.head.size() * 2, -1);
        for (std::size_t i = 0; i < s.next.size(); ++i) {
            const std::size_t h = CellHash(s.cellOf[i], s.head.size());
            s.next[i] = s.head[h];
            s.head[h] = static_cast<int>(i);
        }
    }
    const std::array<std::int64_t, 3> home = {CellIndex(x, s.cellSize), CellIndex(y, s.cellSize),
                                              CellIndex(z, s.cellSize)};
    const std::size_t h = CellHash(home, s.head.size());
    s.cellOf.push_back(home);
    s.next.push_back(s.head[h]);
    s.head[h] = PointCount - 1;
    return PointCount;
}

// Every facet polygon, from its edges taken in increasing number.
void TGem::BuildPolygonsFast() {
    engine::Scratch& s = Scratch.Get();
    const std::size_t facets = Slot(FacetCount) + 2;
    s.edgeStart.assign(facets + 1, 0);
    for (int e = 1; e <= EdgeCount; ++e) {
        ++s.edgeStart[Slot(Edges[e].FacetA) + 2];
        ++s.edgeStart[Slot(Edges[e].FacetB) + 2];
    }
    for (std::size_t f = 0; f < facets; ++f)
        s.edgeStart[f + 1] += s.edgeStart[f];
    s.facetEdges.resize(Slot(s.edgeStart[facets]));
    s.fill.assign(s.edgeStart.begin(), s.edgeStart.end() - 1);
    for (int e = 1; e <= EdgeCount; ++e)
        for (int f : {Edges[e].FacetA, Edges[e].FacetB})
            s.facetEdges[Slot(s.fill[Slot(f) + 1]++)] = e;

    engine::FacetEdgeList collected("Facet edges"); // one list for all: each reads only what it fills
    for (int f = -1; f <= FacetCount; ++f) {
        int count = 0;
        for (int i = s.edgeStart[Slot(f) + 1]; i < s.edgeStart[Slot(f) + 2]; ++i)
            engine::CollectFacetEdge(*this, s.facetEdges[Slot(i)], collected, count);
        engine::ChainFacetPolygon(*this, Facets[f], collected, count);
    }
}
