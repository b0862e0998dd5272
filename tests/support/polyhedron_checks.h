// Independent checks of a computed stone: what any correct polyhedron must satisfy.
#pragma once

#include "gem/gem.h"

#include <string>
#include <vector>

// The true corners of the stone, found by brute force over all triples of planes (no merging).
std::vector<Vector3> TrueVertices(const TGem& gem);

// True when every two true corners are further apart than the engine's point merge distance
// (with a margin), so that the engine merges no points.
bool HasNoMergedPoints(const TGem& gem);

// The invariants that hold for every computed design; an empty result means all hold.
// Points lie inside every half-space (within `tolerance`), polygons are closed, edges join
// points that lie on both their facets (within `tolerance`).
std::vector<std::string> CheckInvariants(const TGem& gem, Real tolerance);

// The stricter invariants of a design without merged points: every corner on at least three
// planes, the corners match the true vertices, and corners - edges + facets with polygons = 2.
std::vector<std::string> CheckExactPolyhedron(const TGem& gem);

// The numbers any design of the model must hold, however it was made or read: planes with unit normals
// within the engine's reach, finite indices, symmetry from 1 to the gear's magnitude, counts within the
// tables and finite corners. An empty result means all hold.
std::vector<std::string> CheckDesignNumbers(const TGem& gem);

// The stone's volume worked out from its true corners alone: over every distinct plane, the pyramid
// from the origin (on the girdle plane) to the face, its corners ordered round their centre.
Real IndependentVolume(const TGem& gem);
