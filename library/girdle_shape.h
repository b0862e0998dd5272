// The shape class of a girdle outline, decided from the outline's polygon by the rules written in
// docs/library.md.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class ShapeClass {
    Round,
    Oval,
    Pear,
    Marquise,
    Heart,
    Square,
    Rectangle,
    Octagon, // emerald and octagon cuts: four sides and four cut corners
    Triangle,
    Cushion,
    Other
};

inline constexpr ShapeClass AllShapes[] = {ShapeClass::Round,     ShapeClass::Oval,    ShapeClass::Pear,
                                           ShapeClass::Marquise,  ShapeClass::Heart,   ShapeClass::Square,
                                           ShapeClass::Rectangle, ShapeClass::Octagon, ShapeClass::Triangle,
                                           ShapeClass::Cushion,   ShapeClass::Other};

// "round", "oval", ..., "octagon", ..., "other".
std::string ShapeName(ShapeClass shape);
// The class of a name; "emerald" names the octagon class too.
std::optional<ShapeClass> ShapeNamed(const std::string& name);

struct OutlinePoint {
    double x = 0, y = 0;
};

// The class of a convex outline given as its corners in order (either direction); Other for fewer
// than three corners.
ShapeClass ClassifyOutline(const std::vector<OutlinePoint>& outline);

// The convex hull of points, counter-clockwise.
std::vector<OutlinePoint> ConvexHull(std::vector<OutlinePoint> points);
// Area of a polygon, positive when its corners run counter-clockwise.
double SignedArea(const std::vector<OutlinePoint>& polygon);
