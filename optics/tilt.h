// The figures of a stone tilted in the hand: turned about a horizontal axis through its centre while
// the eye and the sky stay where they are.
#pragma once

#include "optics/figures.h"

#include <vector>

namespace optics {

// The two axes a cutter tilts about: along the line of index 0 and at right angles to it (azimuths in
// degrees from +x).
constexpr double AlongIndexZero = 0, AcrossIndexZero = 90;

// The figures at tilt `angle` degrees about the horizontal axis at `axisAzimuth` degrees.
Figures TiltedFigures(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling,
                      double axisAzimuth, double angle);

// The figures at 0, t/2 and t on one axis and the mean of their ISO and COS figures.
struct TiltRange {
    double Axis = 0, Tilt = 0;
    Figures AtZero, AtHalf, AtFull;
    Estimate MeanIso, MeanCos;
};
TiltRange ComputeTiltRange(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling,
                           double axisAzimuth, double tilt);

// One point of a tilt curve.
struct TiltPoint {
    double Angle = 0;
    Estimate Iso, Cos;
};
// ISO and COS against the tilt about one axis, from `from` to `to` degrees in steps of `step`. With an
// `error` above 0 each point is traced until its standard errors are at most that (ComputeFiguresWithin,
// starting from the sampling's rays).
std::vector<TiltPoint> TiltCurve(const TracedStone& stone, const TraceOptions& options,
                                 const Sampling& sampling, double axisAzimuth, double from = -30,
                                 double to = 30, double step = 1, double error = 0);

// ISO and COS over both axes: entry (i, j) is the stone tilted by Angles[i] towards +x and Angles[j]
// towards +y (a tilt of their hypotenuse towards their direction).
struct TiltMap {
    std::vector<double> Angles;
    std::vector<Estimate> Iso, Cos; // row j, column i at j * Angles.size() + i
};
TiltMap ComputeTiltMap(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling,
                       double limit = 30, int steps = 13);

} // namespace optics
