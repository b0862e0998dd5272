#include "optics/tracer.h"

#include "optics/fresnel.h"

#include <algorithm>
#include <complex>
#include <limits>
#include <stdexcept>

namespace optics {
namespace {
using Complex = std::complex<double>;
constexpr double Infinity = std::numeric_limits<double>::infinity();
// The index of the air around the stone.
constexpr double AirIndex = 1.0;
// Below this length the cross product of direction and normal is taken as normal incidence.
constexpr double NormalIncidence = 1e-12;
// Where a parallel eye ray starts above the stone, in stone widths: anywhere above it will do.
constexpr double EyeStart = 1.0;

// A complex vector as its real and imaginary parts: plain arithmetic, without the library's care for
// infinities, which costs a call per product.
struct ComplexVec {
    Vec3 re, im;
};
inline Complex Dot(const ComplexVec& a, const Vec3& b) {
    return {optics::Dot(a.re, b), optics::Dot(a.im, b)};
}
inline Complex Times(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}
inline ComplexVec Combine(Complex a, const Vec3& u, Complex b, const Vec3& v) {
    return {a.real() * u + b.real() * v, a.imag() * u + b.imag() * v};
}
inline double Power(const ComplexVec& a) {
    return optics::Dot(a.re, a.re) + optics::Dot(a.im, a.im);
}

Vec3 AnyPerpendicular(const Vec3& d) {
    const Vec3 other = std::fabs(d.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    return Normalized(Cross(d, other));
}
} // namespace

// The light of an eye ray: for each of two orthogonal polarisations of the light that reaches the
// eye, its field (traced backwards, the field of the reversed path by reciprocity), or, without
// polarisation, only its power.
struct Tracer::Field {
    ComplexVec a, b;
    double power = 1;

    static Field Along(const Vec3& d) {
        const Vec3 u = AnyPerpendicular(d), v = Cross(d, u);
        return {{u, {}}, {v, {}}, 1};
    }
};

namespace {
// The reflected and transmitted fields at a face: `towards` is the face's unit normal on the side the
// light comes from.
template <typename FieldT>
void SplitAt(const FieldT& in, const Vec3& d, const Vec3& towards, double n1, double n2,
             const TraceOptions& options, FieldT& reflected, FieldT& transmitted, Vec3& reflectedDir,
             Vec3& transmittedDir, bool& total) {
    const double cosI = -Dot(d, towards);
    FresnelCoefficients f = Fresnel(cosI, n1, n2);
    total = f.Total;
    reflectedDir = d + (2 * cosI) * towards;
    const double ratio = n1 / n2;
    if (!total) transmittedDir = ratio * d + (ratio * cosI - f.CosT) * towards;
    if (!options.Fresnel) {
        // Total reflection or leave: nothing is reflected below the critical angle.
        f.Rs = f.Rp = total ? Complex(1) : Complex(0);
        f.Ts = f.Tp = total ? 0 : 1;
    }
    if (!options.Polarisation) {
        const double r = 0.5 * (std::norm(f.Rs) + std::norm(f.Rp));
        reflected.power = in.power * r;
        transmitted.power = total ? 0 : in.power * (1 - r);
        return;
    }
    const Vec3 cross = Cross(d, towards);
    const double length = Length(cross);
    const Vec3 s = length < NormalIncidence ? AnyPerpendicular(d) : (1.0 / length) * cross;
    const Vec3 pIn = Cross(s, d), pReflected = Cross(s, reflectedDir);
    const Vec3 pTransmitted = total ? Vec3{} : Cross(s, transmittedDir);
    auto split = [&](const ComplexVec& e, ComplexVec& r, ComplexVec& t) {
        const Complex es = Dot(e, s), ep = Dot(e, pIn);
        r = Combine(Times(f.Rs, es), s, Times(f.Rp, ep), pReflected);
        t = Combine(f.Ts * es, s, f.Tp * ep, pTransmitted);
    };
    split(in.a, reflected.a, transmitted.a);
    split(in.b, reflected.b, transmitted.b);
    reflected.power = 0.5 * (Power(reflected.a) + Power(reflected.b));
    transmitted.power = total ? 0 : 0.5 * (Power(transmitted.a) + Power(transmitted.b));
}
} // namespace

Tracer::Tracer(const TracedStone& stone, const TraceOptions& options) : stone_(stone), options_(options) {
    if (!(options.RefractiveIndex > 1)) throw std::invalid_argument("the refractive index must exceed 1");
    if (!(options.CutOff > 0 && options.CutOff < 1))
        throw std::invalid_argument("the cut-off lies in (0, 1)");
    if (!(options.HeadShadow >= 0 && options.HeadShadow < 90))
        throw std::invalid_argument("the head shadow's half-angle lies in [0, 90) degrees");
    if (!(options.EyeDistance == 0 || options.EyeDistance >= 1))
        throw std::invalid_argument("the eye is at least one stone width away (or 0: at infinity)");
    for (const TracedPlane& p : stone.Planes()) {
        nx_.push_back(p.Normal.x);
        ny_.push_back(p.Normal.y);
        nz_.push_back(p.Normal.z);
        offset_.push_back(p.Offset);
        side_.push_back(p.Side);
    }
    top_ = stone.Top();
    const Vec3 centre = stone.Centre();
    const double width = stone.Width();
    eye_ = {centre.x, centre.y, top_ + options.EyeDistance * width};
    start_ = top_ + EyeStart * width;
    cosShadow_ = std::cos(Radians(options.HeadShadow));
}

Ray Tracer::EyeRay(double x, double y) const {
    if (options_.EyeDistance == 0) return {{x, y, start_}, {0, 0, -1}};
    return {eye_, Normalized(Vec3{x, y, top_} - eye_)};
}

void Tracer::Outline(double& x0, double& y0, double& side) const {
    double lowX = Infinity, lowY = Infinity, highX = -Infinity, highY = -Infinity;
    for (const Vec3& c : stone_.Corners()) {
        Vec3 seen = c;
        if (options_.EyeDistance != 0) seen = eye_ + ((top_ - eye_.z) / (c.z - eye_.z)) * (c - eye_);
        lowX = std::min(lowX, seen.x), highX = std::max(highX, seen.x);
        lowY = std::min(lowY, seen.y), highY = std::max(highY, seen.y);
    }
    side = std::max(highX - lowX, highY - lowY);
    x0 = 0.5 * (lowX + highX - side);
    y0 = 0.5 * (lowY + highY - side);
}

int Tracer::Exit(const Vec3& from, const Vec3& d, double& distance) const {
    // The nearest plane the ray heads out through: gap / along least, compared by cross-multiplying
    // (both alongs are positive) so that only the nearest costs a division, and chosen by selects
    // rather than branches, which the processor cannot predict here.
    const std::size_t n = nx_.size();
    const double *x = nx_.data(), *y = ny_.data(), *z = nz_.data(), *offset = offset_.data();
    double bestGap = 1, bestAlong = 0; // an infinite distance
    std::size_t plane = n;
    for (std::size_t i = 0; i < n; ++i) {
        const double along = x[i] * d.x + y[i] * d.y + z[i] * d.z;
        const double gap = offset[i] - (x[i] * from.x + y[i] * from.y + z[i] * from.z);
        const bool nearer = along > 0 && gap * bestAlong < bestGap * along;
        bestGap = nearer ? gap : bestGap;
        bestAlong = nearer ? along : bestAlong;
        plane = nearer ? i : plane;
    }
    if (plane == n) throw std::invalid_argument("a ray left the stone through no face: it is not closed");
    distance = std::max(0.0, bestGap / bestAlong);
    return static_cast<int>(plane);
}

void Tracer::Leave(RayOutcome& outcome, const Vec3& at, const Vec3& d, double weight, Half side,
                   bool outer) const {
    if (outer) {
        outcome.Outer += weight;
    } else if (side == Half::Pavilion || d.z <= 0) {
        outcome.Windowed += weight;
        return;
    } else {
        outcome.Returned += weight;
    }
    if (d.z <= 0) return; // below the horizon: nothing to see
    const Vec3 toEye = options_.EyeDistance == 0 ? Vec3{0, 0, 1} : Normalized(eye_ - at);
    if (options_.HeadShadow > 0 && Dot(d, toEye) >= cosShadow_) {
        outcome.Shadowed += weight;
        return;
    }
    outcome.Iso += weight;
    outcome.Cos += weight * d.z;
}

RayOutcome Tracer::Trace(const Ray& ray, std::vector<PathStep>* path) const {
    RayOutcome outcome;
    const Vec3& o = ray.Origin;
    Vec3 d = ray.Direction;
    // Entering: the last plane the ray crosses into before it leaves the first one.
    double enter = -Infinity, leave = Infinity;
    int entry = -1;
    for (std::size_t i = 0; i < nx_.size(); ++i) {
        const double along = nx_[i] * d.x + ny_[i] * d.y + nz_[i] * d.z;
        const double gap = offset_[i] - (nx_[i] * o.x + ny_[i] * o.y + nz_[i] * o.z);
        if (along < 0) {
            if (gap / along > enter) enter = gap / along, entry = static_cast<int>(i);
        } else if (along > 0) {
            leave = std::min(leave, gap / along);
        } else if (gap < 0) {
            return outcome;
        }
    }
    if (entry < 0 || enter > leave) return outcome;
    outcome.Hit = true;

    const double n = options_.RefractiveIndex;
    Vec3 at = o + enter * d;
    Field field = Field::Along(d), reflected, transmitted;
    Vec3 reflectedDir, transmittedDir;
    bool total = false;
    const Vec3 outward{nx_[entry], ny_[entry], nz_[entry]};
    SplitAt(field, d, outward, AirIndex, n, options_, reflected, transmitted, reflectedDir, transmittedDir,
            total);
    Leave(outcome, at, reflectedDir, reflected.power, side_[entry], true);
    if (path) {
        path->push_back({at, reflectedDir, reflected.power, entry, PathEvent::OuterReflection});
        path->push_back({at, transmittedDir, transmitted.power, entry, PathEvent::Enter});
    }
    field = transmitted;
    d = transmittedDir;

    for (int crossing = 0;; ++crossing) {
        if (field.power < options_.CutOff || crossing == options_.MaxCrossings) {
            outcome.Lost += field.power;
            if (path) path->push_back({at, d, field.power, -1, PathEvent::CutOff});
            break;
        }
        double distance = 0;
        const int plane = Exit(at, d, distance);
        at = at + distance * d;
        const Vec3 inward{-nx_[plane], -ny_[plane], -nz_[plane]};
        SplitAt(field, d, inward, n, AirIndex, options_, reflected, transmitted, reflectedDir, transmittedDir,
                total);
        if (!total) Leave(outcome, at, transmittedDir, transmitted.power, side_[plane], false);
        if (path) {
            if (!total) path->push_back({at, transmittedDir, transmitted.power, plane, PathEvent::Leave});
            path->push_back({at, reflectedDir, reflected.power, plane,
                             total ? PathEvent::TotalReflect : PathEvent::Reflect});
        }
        field = reflected;
        d = reflectedDir;
    }
    return outcome;
}

} // namespace optics
