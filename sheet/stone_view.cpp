#include "sheet/stone_view.h"

#include "gem/gem.h"
#include "sheet/design_sheet.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double RaisedDegrees = 25; // the reset view looks down on the crown by this much
constexpr double FillFraction = 0.9; // of half the smaller side, taken by the stone at zoom 1
constexpr double Ambient = 0.3;      // the light every face gets, facing a lamp or not
constexpr double TierLift = 0.07;    // every other tier of a half is this much lighter
constexpr double FacingLimit = 1e-9; // a face this near edge-on is dropped
constexpr double SamePlane = 1e-9;   // of the stone's size: two planes closer than this are one
// The lamps (view coordinates, normalised on use): the main one above, to the left of and in front of
// the viewer, and a weaker one from below, so that the pavilion, which faces down, is not left dark.
struct Lamp {
    ViewVector Direction;
    double Strength;
};
constexpr Lamp Lamps[] = {{{-0.35, 0.45, 1.0}, 0.6}, {{0.3, -0.6, 1.0}, 0.3}};

struct Tone {
    double r, g, b;
};
constexpr Tone CrownTone{150, 190, 240};
constexpr Tone PavilionTone{240, 200, 130};
constexpr Tone GirdleTone{205, 205, 205};
constexpr Tone MarkedTone{240, 90, 80};

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

double DotOf(const ViewVector& a, const ViewVector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

ViewVector CrossOf(const ViewVector& a, const ViewVector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

ViewVector Normalised(const ViewVector& v) {
    const double length = std::sqrt(DotOf(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

// The rotation by `radians` about a unit axis (Rodrigues), as a matrix acting on column vectors.
ViewTurn Rotation(const ViewVector& k, double radians) {
    const double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    return {{{t * k[0] * k[0] + c, t * k[0] * k[1] - s * k[2], t * k[0] * k[2] + s * k[1]},
             {t * k[0] * k[1] + s * k[2], t * k[1] * k[1] + c, t * k[1] * k[2] - s * k[0]},
             {t * k[0] * k[2] - s * k[1], t * k[1] * k[2] + s * k[0], t * k[2] * k[2] + c}}};
}

ViewTurn Product(const ViewTurn& a, const ViewTurn& b) {
    ViewTurn p{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
    return p;
}

// A screen point on the trackball's sphere; outside the sphere's disc, on its rim.
ViewVector OnTrackball(ScreenPoint p, int width, int height) {
    const double radius = std::max(1, std::min(width, height)) / 2.0;
    const double x = (p.x - width / 2.0) / radius, y = (height / 2.0 - p.y) / radius;
    const double d2 = x * x + y * y;
    if (d2 >= 1) return Normalised({x, y, 0});
    return {x, y, std::sqrt(1 - d2)};
}

// Lambert's law: a face is lit by the cosine of its normal's angle to each lamp, never below the ambient.
double LightOn(const ViewVector& outward) {
    double light = Ambient;
    for (const Lamp& lamp : Lamps)
        light += lamp.Strength * std::max(0.0, DotOf(outward, Normalised(lamp.Direction)));
    return light;
}

Colour Shaded(Tone tone, double light) {
    auto channel = [&](double v) {
        return static_cast<Colour>(std::clamp(std::lround(v * light), 0L, 255L));
    };
    return channel(tone.r) | channel(tone.g) << 8 | channel(tone.b) << 16;
}

Tone ToneOf(const StoneFace& face, bool marked) {
    if (marked) return MarkedTone;
    if (face.Girdle || face.Facet == 0) return GirdleTone;
    const Tone base = face.Half == StoneHalf::Crown ? CrownTone : PavilionTone;
    const double lift = face.Tier % 2 == 0 ? 1 : 1 + TierLift;
    return {std::min(255.0, base.r * lift), std::min(255.0, base.g * lift), std::min(255.0, base.b * lift)};
}

// Where the view is centred: the stone's axis, halfway up the stone; and the radius of the ball that
// holds the stone about it, so that the stone keeps its place and size however it turns.
struct Framing {
    Vector3 Centre;
    double Radius = 1;
};

Framing FramingOf(const Stone& stone) {
    Framing framing;
    framing.Centre = {0, 0, (stone.BoxMin.z + stone.BoxMax.z) / 2};
    double r2 = 0;
    for (const Vector3& corner : stone.Corners) {
        const Vector3 d = corner - framing.Centre;
        r2 = std::max(r2, static_cast<double>(Dot(d, d)));
    }
    if (r2 > 0) framing.Radius = std::sqrt(r2);
    return framing;
}

// Whether p lies in a convex polygon or on its boundary, whichever way the polygon turns: on the same
// side of every edge.
bool Holds(const std::vector<ScreenPoint>& polygon, ScreenPoint p) {
    if (polygon.size() < 3) return false;
    bool left = false, right = false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const ScreenPoint a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        left = left || cross > 0;
        right = right || cross < 0;
    }
    return !(left && right);
}

StoneHalf HalfOf(const TGem& design) {
    return design.IsCrown() ? StoneHalf::Crown : StoneHalf::Pavilion;
}
} // namespace

void StoneOrientation::Reset() {
    const double e = Radians(RaisedDegrees);
    // From the side along x, as the free rotation starts, then raised above the girdle.
    Rows = {{{0, 1, 0}, {-std::sin(e), 0, std::cos(e)}, {std::cos(e), 0, std::sin(e)}}};
    ZoomFactor = 1;
}

void StoneOrientation::TurnByKey(int key) {
    constexpr ViewVector vertical{0, 1, 0}, horizontal{1, 0, 0};
    const double step = Radians(KeyStepDegrees);
    switch (key) {
    case KeyLeft:
        return TurnAboutViewAxis(vertical, step);
    case KeyRight:
        return TurnAboutViewAxis(vertical, -step);
    case KeyUp:
        return TurnAboutViewAxis(horizontal, -step);
    case KeyDown:
        return TurnAboutViewAxis(horizontal, step);
    default:
        return;
    }
}

void StoneOrientation::TurnByDrag(ScreenPoint from, ScreenPoint to, int width, int height) {
    const ViewVector a = OnTrackball(from, width, height), b = OnTrackball(to, width, height);
    const ViewVector axis = CrossOf(a, b);
    const double sine = std::sqrt(DotOf(axis, axis));
    if (sine < FacingLimit) return;
    TurnAboutViewAxis(Normalised(axis), std::atan2(sine, DotOf(a, b)));
}

void StoneOrientation::TurnAboutViewAxis(const ViewVector& axis, double radians) {
    Rows = Product(Rotation(axis, radians), Rows);
    Orthonormalize();
}

void StoneOrientation::TurnAboutStoneAxis(double radians) {
    Rows = Product(Rows, Rotation({0, 0, 1}, radians));
    Orthonormalize();
}

void StoneOrientation::ZoomBy(double factor) {
    if (!std::isfinite(factor) || factor <= 0) return;
    ZoomFactor = std::clamp(ZoomFactor * factor, MinZoom, MaxZoom);
}

ViewVector StoneOrientation::ToView(const Vector3& v) const {
    const ViewVector s{static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
    return {DotOf(Rows[0], s), DotOf(Rows[1], s), DotOf(Rows[2], s)};
}

// Many small turns would let the rows drift from a rotation: they are made orthonormal again.
void StoneOrientation::Orthonormalize() {
    const ViewVector right = Normalised(Rows[0]);
    const ViewVector towards = Normalised(CrossOf(right, Rows[1]));
    Rows = {right, CrossOf(towards, right), towards};
}

StonePicture ProjectStone(const Stone& stone, const StoneOrientation& orientation, int width, int height,
                          const std::vector<int>& marked) {
    StonePicture picture;
    picture.Width = width;
    picture.Height = height;
    if (stone.Empty()) return picture;
    const Framing framing = FramingOf(stone);
    const double scale = FillFraction * std::min(width, height) / 2 / framing.Radius * orientation.Zoom();
    std::vector<ScreenPoint> screen(stone.Corners.size());
    for (std::size_t c = 0; c < stone.Corners.size(); ++c) {
        const ViewVector v = orientation.ToView(stone.Corners[c] - framing.Centre);
        screen[c] = {width / 2.0 + scale * v[0], height / 2.0 - scale * v[1]};
    }
    std::vector<bool> shown(stone.Faces.size(), false);
    for (std::size_t f = 0; f < stone.Faces.size(); ++f) {
        const StoneFace& face = stone.Faces[f];
        const ViewVector outward = orientation.ToView(-face.FacePlane.Normal);
        if (outward[2] <= FacingLimit) continue;
        shown[f] = true;
        const bool isMarked = std::find(marked.begin(), marked.end(), static_cast<int>(f)) != marked.end();
        const double light = LightOn(outward);
        FacePicture& drawn = picture.Faces.emplace_back();
        drawn.Face = static_cast<int>(f);
        drawn.Fill = Shaded(ToneOf(face, isMarked), light);
        drawn.Polygon.reserve(face.Corners.size());
        for (int c : face.Corners)
            drawn.Polygon.push_back(screen[c]);
    }
    for (const StoneEdge& edge : stone.Edges) {
        const bool seen = shown[edge.FaceA] || (edge.FaceB >= 0 && shown[edge.FaceB]);
        if (seen) picture.Edges.push_back({screen[edge.CornerA], screen[edge.CornerB]});
    }
    return picture;
}

int FaceAt(const StonePicture& picture, ScreenPoint p) {
    for (const FacePicture& face : picture.Faces)
        if (Holds(face.Polygon, p)) return face.Face;
    return -1;
}

int DesignFacetOf(const Stone& stone, int face, const TGem& design) {
    if (face < 0 || face >= static_cast<int>(stone.Faces.size())) return NoneFound;
    const StoneFace& made = stone.Faces[face];
    if (made.Half == HalfOf(design)) return made.Facet;
    if (!made.Girdle) return NoneFound;
    const Real tolerance = SamePlane * stone.Size();
    for (int f = 1; f <= design.FacetCount; ++f) {
        const Facet& facet = design.Facets[f];
        if (ManhattanDistance(facet.Normal, made.FacePlane.Normal) <= SamePlane &&
            std::fabs(facet.Dist - made.FacePlane.Dist) <= tolerance)
            return f;
    }
    return NoneFound;
}

std::vector<int> FacesOfDesignFacet(const Stone& stone, int f, const TGem& design) {
    std::vector<int> faces;
    if (f == NoneFound) return faces;
    for (std::size_t face = 0; face < stone.Faces.size(); ++face)
        if (DesignFacetOf(stone, static_cast<int>(face), design) == f)
            faces.push_back(static_cast<int>(face));
    return faces;
}
