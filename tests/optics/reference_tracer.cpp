#include "reference_tracer.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

namespace optics::test {
namespace {
using Complex = std::complex<double>;
struct Wave {
    Complex x, y, z;
};
Complex Along(const Wave& e, const Vec3& u) {
    return e.x * u.x + e.y * u.y + e.z * u.z;
}
Wave Compose(Complex a, const Vec3& u, Complex b, const Vec3& v) {
    return {a * u.x + b * v.x, a * u.y + b * v.y, a * u.z + b * v.z};
}
double Power(const Wave& e) {
    return std::norm(e.x) + std::norm(e.y) + std::norm(e.z);
}

// Amplitude coefficients from the angles of incidence i and refraction t; power amplitudes for
// transmission.
struct Coefficients {
    Complex rs, rp;
    double ts = 0, tp = 0;
    bool total = false;
    double cosT = 0;
};
Coefficients FromAngles(double cosI, double n1, double n2, bool fresnel) {
    Coefficients c;
    const double i = std::acos(std::min(1.0, cosI));
    const double sinT = n1 / n2 * std::sin(i);
    if (sinT >= 1) {
        c.total = true;
        const double b = std::sqrt(std::sin(i) * std::sin(i) - (n2 / n1) * (n2 / n1));
        // The phases of total reflection: tan(delta/2) = b / cos i for s, b / (n^2 cos i) for p.
        c.rs = std::polar(1.0, -2 * std::atan(b / cosI));
        c.rp = std::polar(1.0, -2 * std::atan(b * (n1 / n2) * (n1 / n2) / cosI));
        if (!fresnel) c.rs = c.rp = 1;
        return c;
    }
    const double t = std::asin(sinT);
    c.cosT = std::cos(t);
    if (!fresnel) {
        c.ts = c.tp = 1;
        return c;
    }
    double ts, tp;
    if (i < 1e-9) {
        c.rs = (n1 - n2) / (n1 + n2);
        c.rp = -c.rs;
        ts = tp = 2 * n1 / (n1 + n2);
    } else {
        c.rs = -std::sin(i - t) / std::sin(i + t);
        c.rp = std::tan(i - t) / std::tan(i + t);
        ts = 2 * std::sin(t) * cosI / std::sin(i + t);
        tp = ts / std::cos(i - t);
    }
    const double flux = n2 * c.cosT / (n1 * cosI); // power carried per unit of |t|^2
    c.ts = ts * std::sqrt(flux);
    c.tp = tp * std::sqrt(flux);
    return c;
}

struct Walker {
    const TracedStone& stone;
    const ReferenceOptions& options;
    ReferenceOutcome& out;

    void Count(const Vec3& d, double power, Half side, bool outer) {
        power /= 2; // each of the two polarisations carries half
        if (outer)
            out.Outer += power;
        else if (side == Half::Pavilion || d.z <= 0) {
            out.Windowed += power;
            return;
        } else
            out.Returned += power;
        if (d.z > 0) out.Iso += power, out.Cos += power * d.z;
    }

    // Follows light of field e inside the stone from p along d.
    void Inside(const Wave& e, const Vec3& p, const Vec3& d, int crossings) {
        if (Power(e) < options.CutOff || crossings == options.MaxCrossings) {
            out.Lost += Power(e) / 2;
            return;
        }
        double nearest = 1e300;
        const TracedPlane* exit = nullptr;
        for (const TracedPlane& plane : stone.Planes()) {
            const double along = Dot(plane.Normal, d);
            if (along <= 0) continue;
            const double t = std::max(0.0, (plane.Offset - Dot(plane.Normal, p)) / along);
            if (t < nearest) nearest = t, exit = &plane;
        }
        const Vec3 at = p + nearest * d;
        Wave reflected, transmitted;
        Vec3 dr, dt;
        const bool total = Cross(e, d, -exit->Normal, options.Index, 1, reflected, transmitted, dr, dt);
        if (!total) Count(dt, Power(transmitted), exit->Side, false);
        Inside(reflected, at, dr, crossings + 1);
    }

    // The two waves of field e crossing a face of normal m (towards the light) from n1 into n2.
    bool Cross(const Wave& e, const Vec3& d, const Vec3& m, double n1, double n2, Wave& reflected,
               Wave& transmitted, Vec3& dr, Vec3& dt) {
        const double cosI = -Dot(d, m);
        const Coefficients c = FromAngles(cosI, n1, n2, options.Fresnel);
        dr = d + 2 * cosI * m;
        if (!c.total) dt = (n1 / n2) * d + ((n1 / n2) * cosI - c.cosT) * m;
        Vec3 s = optics::Cross(d, m);
        if (Length(s) < 1e-12)
            s = std::fabs(d.x) < 0.9 ? optics::Cross(d, {1, 0, 0}) : optics::Cross(d, {0, 1, 0});
        s = Normalized(s);
        const Complex es = Along(e, s), ep = Along(e, optics::Cross(s, d));
        reflected = Compose(c.rs * es, s, c.rp * ep, optics::Cross(s, dr));
        if (!c.total) transmitted = Compose(c.ts * es, s, c.tp * ep, optics::Cross(s, dt));
        return c.total;
    }
};
} // namespace

ReferenceOutcome ReferenceTrace(const TracedStone& stone, double x, double y,
                                const ReferenceOptions& options) {
    ReferenceOutcome out;
    const Vec3 o{x, y, stone.Top() + 1}, d{0, 0, -1};
    // The ray enters where it has crossed into every plane's side: the largest entering distance.
    double enter = -1e300, leave = 1e300;
    const TracedPlane* entry = nullptr;
    for (const TracedPlane& plane : stone.Planes()) {
        const double along = Dot(plane.Normal, d), gap = plane.Offset - Dot(plane.Normal, o);
        if (along == 0 && gap < 0) return out;
        if (along < 0 && gap / along > enter) enter = gap / along, entry = &plane;
        if (along > 0) leave = std::min(leave, gap / along);
    }
    if (!entry || enter > leave) return out;
    out.Hit = true;
    Walker walker{stone, options, out};
    const Vec3 at = o + enter * d;
    for (const Wave& e : {Wave{1, 0, 0}, Wave{0, 1, 0}}) {
        Wave reflected, transmitted;
        Vec3 dr, dt;
        walker.Cross(e, d, entry->Normal, 1, options.Index, reflected, transmitted, dr, dt);
        walker.Count(dr, Power(reflected), entry->Side, true);
        walker.Inside(transmitted, at, dt, 0);
    }
    return out;
}

ReferenceFigure ReferenceFigures(const TracedStone& stone, const ReferenceOptions& options, int rays,
                                 std::uint64_t seed) {
    double low = 1e300, high = -1e300;
    for (const Vec3& c : stone.Corners())
        low = std::min({low, c.x, c.y}), high = std::max({high, c.x, c.y});
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(low, high);
    double iso = 0, iso2 = 0, cos = 0, cos2 = 0;
    int hits = 0;
    for (int i = 0; i < rays; ++i) {
        const double x = uniform(random), y = uniform(random);
        const ReferenceOutcome o = ReferenceTrace(stone, x, y, options);
        if (!o.Hit) continue;
        ++hits;
        iso += o.Iso, iso2 += o.Iso * o.Iso, cos += o.Cos, cos2 += o.Cos * o.Cos;
    }
    auto error = [&](double sum, double sum2) {
        const double mean = sum / hits;
        return std::sqrt(std::max(0.0, sum2 / hits - mean * mean) / (hits - 1));
    };
    return {iso / hits, error(iso, iso2), cos / hits, error(cos, cos2)};
}

} // namespace optics::test
