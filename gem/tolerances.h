// Every tolerance of the model, named once with what it means. Lengths are in design units (a stone of
// the usual size is about 100 across), angles in degrees.
#pragma once

#include "gem/vector3.h"

// ---- Angles and indices ----
// Two angles closer than this are one: the tests NearZero, Near90 (a girdle facet) and Near180.
inline constexpr Real AngleTolerance = 0.01L;
// An index this close to the gear's tooth count is index 0.
inline constexpr Real WrapTolerance = 0.01L;
// Three points closer than this to one line (or two to one point) give no plane.
inline constexpr Real DegenerateTolerance = 0.0001L;

// ---- Planes as files and fields give them ----
// How far the length of a facet normal may differ from 1: files carry normals with 8 decimals.
inline constexpr Real UnitNormalTolerance = 1e-6L;
// How close to (0, 0, +-1) a normal lies that counts as horizontal: such a plane is the table or the
// bottom plane, never a cut facet, which the design file could not tell from them.
inline constexpr Real HorizontalTolerance = 0.001L;

// ---- The cutting engine ----
// A 2x2 determinant of at most this size means the two planes are parallel.
inline constexpr Real ParallelTolerance = 0.001L;
// A point is outside a plane when it lies more than this beyond it.
inline constexpr Real OutsideTolerance = 0.001L;
// When the end that stays lies just outside a plane (within the tolerance), the line meets the plane
// beyond it, and moving the other end there carries the segment past its staying end: by the
// tolerance over the sine of the angle between line and plane, so without bound for a plane all but
// parallel to the line (published designs reach 0.1; a near-parallel plane throws the end anywhere).
// A clip may carry the ends of one segment off it by at most RunPastLimit in all, and only onto a
// point that lies on both planes of the pair within PlaneSlack (a segment too short to give its line a
// direction would otherwise carry the end off the line); a clip that would do otherwise leaves the
// segment at its staying end. This keeps every edge within RunPastLimit (and the tolerance) of the
// stone and on its two planes, which is what lets the fast way prove which plane pairs cannot make an
// edge.
inline constexpr Real RunPastLimit = 0.01L;
inline constexpr Real PlaneSlack = 1e-7L;
// Corners closer than this (sum of the absolute coordinate differences) merge, on a stone of the usual
// size; a smaller stone merges at this distance scaled down (see the engine).
inline constexpr Real UsualMergeDistance = 0.9L;

// ---- Tiers: facets of one cut angle and depth ----
inline constexpr Real TierAngleTolerance = 1e-5L; // normal z
inline constexpr Real TierDepthTolerance = 0.01L; // Dist
inline constexpr Real TierIndexTolerance = 0.1L;  // two members of one tier on one index are one
// Two indices of a tier as they are written for the cutter (two decimals) closer than this are one.
inline constexpr Real WrittenIndexTolerance = 0.01L;

// ---- ASC files ----
// A record this close to 0 degrees is the table or culet plane.
inline constexpr Real AscFlatAngle = 0.001L;
// A cut facet consumes a listed index this close to its own: the index tolerance of the model, so that
// a facet is cut on the tooth the file lists and not merely near it.
inline constexpr Real AscIndexMatchTolerance = 0.01L;
