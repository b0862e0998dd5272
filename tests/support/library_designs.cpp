#include "tests/support/library_designs.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <set>

namespace {
constexpr int Gear = 96;
constexpr double GirdleHeight = 0.02; // file units, above and below the girdle plane
constexpr double CrownAngle = 40, PavilionAngle = 41;
constexpr double Pi = std::numbers::pi;
constexpr int SmoothStep = 2; // teeth between the sides of a smooth outline

double Radians(double degrees) {
    return degrees * Pi / 180;
}

void Arc(std::vector<OutlinePoint>& points, double cx, double cy, double r, double from, double to) {
    constexpr int Steps = 48;
    for (int k = 0; k <= Steps; ++k) {
        const double a = Radians(from + (to - from) * k / Steps);
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
}

// How far the outline reaches in the direction of the azimuth.
double Reach(const std::vector<OutlinePoint>& outline, double azimuth) {
    double reach = -INFINITY;
    for (const OutlinePoint& p : outline)
        reach = std::max(reach, p.x * std::cos(azimuth) + p.y * std::sin(azimuth));
    return reach;
}

// The indices of the polygon's sides (their outward normals), which must fall on teeth of the gear.
std::vector<int> SideIndices(const std::vector<OutlinePoint>& p) {
    std::vector<int> indices;
    const double sign = SignedArea(p) > 0 ? 1 : -1;
    for (size_t i = 0; i < p.size(); ++i) {
        const OutlinePoint& a = p[i];
        const OutlinePoint& b = p[(i + 1) % p.size()];
        double azimuth = std::atan2(-sign * (b.x - a.x), sign * (b.y - a.y));
        if (azimuth < 0) azimuth += 2 * Pi;
        indices.push_back(static_cast<int>(std::lround(azimuth / (2 * Pi) * Gear)) % Gear);
    }
    return indices;
}

std::string Line(double angle, double distance, const std::vector<int>& indices) {
    char text[64];
    std::snprintf(text, sizeof text, "a %.6f %.8f", angle, distance);
    std::string line = text;
    for (const int i : indices)
        line += " " + std::to_string(i);
    return line + "\n";
}

std::string Line(double angle, double distance, int index) {
    return Line(angle, distance, std::vector<int>{index});
}

// Every index of a tier of mirrored parts that starts at `index`, as an ASC file lists them.
std::vector<int> TierIndices(int index, int parts) {
    std::set<int> indices;
    for (int k = 0; k < parts; ++k) {
        indices.insert((index + k * Gear / parts) % Gear);
        indices.insert((Gear - index + k * Gear / parts) % Gear);
    }
    return {indices.begin(), indices.end()};
}
} // namespace

std::vector<OutlinePoint> ShapeOutline(ShapeClass shape) {
    std::vector<OutlinePoint> p;
    switch (shape) {
    case ShapeClass::Round:
        Arc(p, 0, 0, 1, 0, 360);
        break;
    case ShapeClass::Oval:
        for (int k = 0; k < 96; ++k)
            p.push_back({0.75 * std::cos(2 * Pi * k / 96), std::sin(2 * Pi * k / 96)});
        break;
    case ShapeClass::Pear:
        Arc(p, 0, 0.35, 0.65, -30, 210);
        p.push_back({0, -1.1});
        break;
    case ShapeClass::Marquise: // two circular arcs meeting in tips at (0, +-1)
        Arc(p, -0.75, 0, 1.25, -53.13, 53.13);
        Arc(p, 0.75, 0, 1.25, 126.87, 233.13);
        break;
    case ShapeClass::Heart: // the convex outline of a heart: two lobes and a tip
        Arc(p, 0.45, 0.35, 0.5, -60, 180);
        Arc(p, -0.45, 0.35, 0.5, 0, 240);
        p.push_back({0, -1});
        break;
    case ShapeClass::Square:
        p = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        break;
    case ShapeClass::Rectangle:
        p = {{-0.7, -1}, {0.7, -1}, {0.7, 1}, {-0.7, 1}};
        break;
    case ShapeClass::Octagon: // an emerald cut: a rectangle with its corners cut at 45 degrees
        p = {{-0.45, -1}, {0.45, -1}, {0.7, -0.75}, {0.7, 0.75},
             {0.45, 1},   {-0.45, 1}, {-0.7, 0.75}, {-0.7, -0.75}};
        break;
    case ShapeClass::Triangle: // sides facing 30, 150 and 270 degrees
        for (const double a : {90.0, 210.0, 330.0})
            p.push_back({std::cos(Radians(a)), std::sin(Radians(a))});
        break;
    case ShapeClass::Cushion: // a square with well rounded corners
        Arc(p, 0.6, 0.6, 0.4, 0, 90);
        Arc(p, -0.6, 0.6, 0.4, 90, 180);
        Arc(p, -0.6, -0.6, 0.4, 180, 270);
        Arc(p, 0.6, -0.6, 0.4, 270, 360);
        break;
    case ShapeClass::Other:
        break;
    }
    return p;
}

std::string AscOfOutline(const std::vector<OutlinePoint>& outline, bool smooth, const std::string& title) {
    std::string text = "GemCad 5.0\ng " + std::to_string(Gear) + " 0.0\ny 1 n\nH " + title + "\n";
    std::vector<int> indices;
    if (smooth)
        for (int i = 0; i < Gear; i += SmoothStep)
            indices.push_back(i);
    else
        indices = SideIndices(outline);
    double smallest = INFINITY;
    for (const int i : indices) {
        const double h = Reach(outline, 2 * Pi * i / Gear);
        smallest = std::min(smallest, h);
        text += Line(90, h, i);
        text += Line(CrownAngle,
                     h * std::sin(Radians(CrownAngle)) + GirdleHeight * std::cos(Radians(CrownAngle)), i);
        text +=
            Line(-PavilionAngle,
                 h * std::sin(Radians(PavilionAngle)) + GirdleHeight * std::cos(Radians(PavilionAngle)), i);
    }
    return text + Line(0, 0.3 * smallest, 0); // the table (its index is not read)
}

std::string RandomBrilliantAsc(std::mt19937& rng, const std::string& title) {
    static const int PartChoices[] = {4, 6, 8, 12, 16};
    std::uniform_real_distribution<double> unit(0, 1);
    const int parts = PartChoices[rng() % 5];
    const int step = Gear / parts / 2;                    // half a part, in teeth
    auto cut = [](double angle, double reach, double z) { // a facet through radius `reach` at height z
        return reach * std::sin(Radians(std::fabs(angle))) + z * std::cos(Radians(std::fabs(angle)));
    };
    const double pavilion = 39 + 4 * unit(rng), crown = 30 + 10 * unit(rng), star = crown - 8 - 4 * unit(rng);
    std::string text = "GemCad 5.0\ng 96 0.0\ny " + std::to_string(parts) + " y\nH " + title + "\n";
    const std::vector<int> mains = TierIndices(step / 2, parts), between = TierIndices(0, parts);
    text += Line(90, 1, mains);
    text += Line(-pavilion, cut(pavilion, 1, GirdleHeight), mains);
    text += Line(-(pavilion + 1.5), cut(pavilion + 1.5, 0.97, GirdleHeight), between);
    text += Line(crown, cut(crown, 1, GirdleHeight), mains);
    text += Line(star, cut(star, 0.75, 0.15), between);
    return text + Line(0, 0.2 + 0.1 * unit(rng), 0);
}

void WriteDesignSet(const std::string& folder, int count, unsigned seed) {
    std::mt19937 rng(seed);
    for (int n = 0; n < count; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "/design%05d.asc", n);
        const auto shape = static_cast<ShapeClass>(n / 2 % 10);
        const bool polygon = shape == ShapeClass::Square || shape == ShapeClass::Rectangle ||
                             shape == ShapeClass::Octagon || shape == ShapeClass::Triangle;
        std::ofstream(folder + name, std::ios::binary)
            << (n % 2 ? RandomBrilliantAsc(rng, "Brilliant " + std::to_string(n))
                      : AscOfOutline(ShapeOutline(shape), !polygon,
                                     ShapeName(shape) + " " + std::to_string(n)));
    }
}
