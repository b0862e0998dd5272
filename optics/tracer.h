// The light-return tracer: rays traced backwards from the eye through a closed convex stone.
//
// An eye ray enters the stone (its outer reflection leaves at once towards the mirrored sky) and then
// splits at every face it meets inside: the transmitted part leaves the stone and sees the sky if it
// travels upwards through the crown, table or girdle (returned light), else nothing (windowing); the
// reflected part goes on until its weight falls below the cut-off (lost light). By reciprocity the
// weight that reaches the sky is the share of the sky's light that the eye receives along that ray.
#pragma once

#include "optics/traced_stone.h"
#include "optics/vec.h"

#include <vector>

namespace optics {

// How the stone is lit and looked at, and how far a ray is followed. Every default is the classic
// figure's: docs/optics.md gives the physics of each.
struct TraceOptions {
    double RefractiveIndex = 1.544; // quartz (ordinary ray, sodium D line)
    double HeadShadow = 0;          // half-angle in degrees of the dark cone about the direction to the eye
    double EyeDistance = 0;         // in stone widths from the table; 0 puts the eye at infinity
    double CutOff = 1e-4;           // a branch of less weight is counted as lost
    int MaxCrossings = 1000;        // a branch trapped by total reflection this long is lost
    bool Fresnel = true;            // false: total reflection or leave, nothing in between
    bool Polarisation = true;       // false: the unpolarised reflectance at every face
};

// Where the light of one eye ray went (shares of 1) and the radiance it brings back from each sky.
struct RayOutcome {
    bool Hit = false; // the ray met the stone
    double Iso = 0;   // radiance from the uniform sky
    double Cos = 0;   // radiance from the sky of radiance cos(angle from the axis)
    double Returned = 0, Windowed = 0, Lost = 0, Outer = 0;
    double Shadowed = 0; // of Returned and Outer: the part that left into the head shadow
};

// The two skies: ISO of radiance 1 from every upward direction, COS of radiance cos(angle from the axis).
enum class Sky { Iso, Cos };
inline double Radiance(const RayOutcome& outcome, Sky sky) {
    return sky == Sky::Iso ? outcome.Iso : outcome.Cos;
}

enum class PathEvent { Enter, OuterReflection, Reflect, TotalReflect, Leave, CutOff };

// One event on an eye ray's way: where, what, the weight going on from there and its direction.
struct PathStep {
    Vec3 Point;
    Vec3 Direction;
    double Weight = 0;
    int Plane = -1;
    PathEvent Event = PathEvent::Enter;
};

// An eye ray: where it starts and where it goes.
struct Ray {
    Vec3 Origin, Direction;
};

class Tracer {
  public:
    Tracer(const TracedStone& stone, const TraceOptions& options);

    // The eye ray through point (x, y) of the picture plane, the horizontal plane at the stone's top.
    Ray EyeRay(double x, double y) const;
    // The square of the picture plane that holds the stone's face-up outline: its low corner and side.
    void Outline(double& x0, double& y0, double& side) const;

    // Traces one eye ray; `path` (when given) receives the events of the branch that stays inside and
    // of every branch that leaves.
    RayOutcome Trace(const Ray& ray, std::vector<PathStep>* path = nullptr) const;

    const TraceOptions& Options() const { return options_; }
    const TracedStone& Stone() const { return stone_; }

  private:
    struct Field;
    int Exit(const Vec3& from, const Vec3& direction, double& distance) const;
    void Leave(RayOutcome& outcome, const Vec3& at, const Vec3& direction, double weight, Half side,
               bool outer) const;

    TracedStone stone_;
    TraceOptions options_;
    // The planes in columns, for a loop the compiler can vectorise.
    std::vector<double> nx_, ny_, nz_, offset_;
    std::vector<Half> side_;
    Vec3 eye_;         // the eye for a finite distance
    double top_ = 0;   // height of the picture plane
    double start_ = 0; // where a parallel eye ray starts
    double cosShadow_; // cosine of the head shadow's half-angle
};

} // namespace optics
