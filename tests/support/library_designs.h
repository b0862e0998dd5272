// Whole designs as ASC text for the design library's tests and benchmarks: outlines of the shape
// classes, and varied brilliants.
#pragma once

#include "library/girdle_shape.h"

#include <random>
#include <string>
#include <vector>

// A convex outline of the class (about 2 units long), or nothing for Other. Smooth outlines are
// given by many points, polygons by their corners.
std::vector<OutlinePoint> ShapeOutline(ShapeClass shape);

// An ASC design on a gear of 96 teeth without symmetry whose girdle follows the outline: a girdle
// facet, a crown facet at 40 degrees and a pavilion facet at 41 degrees at every other index (smooth) or at
// the indices of the polygon's sides, and a table.
std::string AscOfOutline(const std::vector<OutlinePoint>& outline, bool smooth, const std::string& title);

// A brilliant of random symmetry (4 to 16 mirrored parts on 96 teeth), angles and table: girdle,
// pavilion mains and halves, crown mains and stars.
std::string RandomBrilliantAsc(std::mt19937& rng, const std::string& title);

// Writes `count` designs (ASC files, brilliants and the shapes in turn) into the folder.
void WriteDesignSet(const std::string& folder, int count, unsigned seed);
