// The fast way's plane loops, each built for AVX2 and for the plain instruction set; the processor
// decides at run time. Only the speed differs: the double-precision values feed tests whose margins
// cover their rounding either way.
#include "gem/engine_kernels.h"
#include "gem/tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#define LAPIDRAW_X86_64 1
#endif

namespace {
using engine::ClipPlanes;
using engine::PlaneColumns;

// Relative rounding bound of a double-precision plane value against the long double test.
constexpr double PrefilterRounding = 1e-14;

// The literal test's verdict on one end from its double-precision value, where that value settles
// it: below `outside` the end is outside for the literal test too, at or above `inside` it is not.
struct Verdict {
    double outside, inside;
};

// One end in double precision.
struct EndInDouble {
    double x, y, z;
};

EndInDouble InDouble(const Vector3& p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z)};
}

double ValueAt(const PlaneColumns& p, int i, const EndInDouble& e) {
    return p.nx[i] * e.x + p.ny[i] * e.y + p.nz[i] * e.z - p.nd[i];
}

// How far a pair's ends can lie from the origin along any axis. They never leave the box of its
// first ends by more than RunPastLimit (clips move an end between the ends or carry it that far).
// Taken in double precision, enlarged to cover the rounding of the ends to double.
double SegmentSize(const engine::Segment& segment) {
    const EndInDouble a = InDouble(segment.end1), b = InDouble(segment.end2);
    double size = 0;
    for (double c : {a.x, a.y, a.z, b.x, b.y, b.z})
        size = std::max(size, std::fabs(c));
    constexpr double conversion = 1 + 1e-15;
    return size * conversion + static_cast<double>(RunPastLimit) * conversion;
}

// The bounds of the literal test for a pair's segment.
Verdict VerdictFor(const ClipPlanes& planes, const engine::Segment& segment) {
    const double margin = PrefilterRounding * (1 + 2 * SegmentSize(segment) + planes.farthest);
    const double tolerance = static_cast<double>(OutsideTolerance);
    return {-tolerance - margin, -tolerance + margin};
}

// Room for the ends' moves since the planes were tested in single precision (below): far more than
// the rounding of any number of moves between the ends.
constexpr double StaleEndsRoom = 1e-9;

// The single-precision value below which an end may be outside a plane: the tolerance less a bound
// on the rounding of planes, ends and arithmetic in single precision (2^-24 each, eleven times the
// largest coordinate and six times the largest Dist, doubled), and less StaleEndsRoom.
float SingleThreshold(const ClipPlanes& planes, const engine::Segment& segment) {
    constexpr double rounding = 1.0 / (1 << 23);
    return static_cast<float>(-static_cast<double>(OutsideTolerance) + StaleEndsRoom +
                              rounding * (1 + 11 * SegmentSize(segment) + 6 * planes.farthest));
}

// What one literal step did to the segment.
enum class Step {
    Gone,   // both ends were outside
    Kept,   // neither end moved
    Moved,  // one end moved to a point between the ends
    Carried // anything else: an end was carried off the segment, or the step was taken in full
};

// The literal step at one plane that the test could not pass over. Clips the segment, keeping the
// ends' double-precision copies.
[[gnu::always_inline]] inline Step StepAt(const ClipPlanes& planes, int slot, const Verdict& verdict,
                                          engine::Segment& segment, EndInDouble& e1, EndInDouble& e2,
                                          double v1, double v2) {
    const Plane& plane = planes.planes[slot];
    const bool settled =
        (v1 < verdict.outside || v1 >= verdict.inside) && (v2 < verdict.outside || v2 >= verdict.inside);
    if (!settled) {
        if (!engine::ClipByPlane(plane, segment)) return Step::Gone;
        e1 = InDouble(segment.end1), e2 = InDouble(segment.end2);
        return Step::Carried;
    }
    const bool out1 = v1 < verdict.outside, out2 = v2 < verdict.outside;
    if (out1 && out2) return Step::Gone;
    if (out1 == out2) return Step::Kept;
    // The moved end's double copy is taken from the values just computed rather than read back.
    EndInDouble& copy = out1 ? e1 : e2;
    auto keepCopy = [&copy](const Real& x, const Real& y, const Real& z) {
        copy = {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)};
    };
    const Vector3& n = plane.Normal;
    auto reach1 = [&n](const Real& x, const Real& y, const Real& z) { return n.x * x + n.y * y + n.z * z; };
    if (engine::MoveOutsideEnd(plane, segment, out1, reach1, keepCopy)) return Step::Moved;
    e1 = InDouble(segment.end1), e2 = InDouble(segment.end2);
    return Step::Carried;
}

bool ClipPairPlain(const ClipPlanes& planes, int j, int k, engine::Segment& segment) {
    const Verdict verdict = VerdictFor(planes, segment);
    EndInDouble e1 = InDouble(segment.end1), e2 = InDouble(segment.end2);
    for (int slot = 0; slot < planes.count; ++slot) {
        const double v1 = ValueAt(planes.columns, slot, e1), v2 = ValueAt(planes.columns, slot, e2);
        if (v1 >= verdict.inside && v2 >= verdict.inside) continue;
        if (slot == j + 1 || slot == k + 1) continue;
        if (StepAt(planes, slot, verdict, segment, e1, e2, v1, v2) == Step::Gone) return false;
    }
    return true;
}

// A plane's value on the disc falls at most its radius times the plane's normal across the disc's
// below its value at the centre; the normals are unit within 0.001, the square taken with room.
constexpr double NormalSquare = 1.003;

// Whether a plane may come down to `reach` on the disc: its value at the centre, less `reach`, is at
// most the radius times the plane's normal across the disc (compared squared).
bool Near(double centre, double along, double reach, double radius) {
    const double rise = centre - reach;
    return rise <= 0 || rise * rise <= radius * radius * (NormalSquare - along * along);
}

int ListNearPlain(const PlaneColumns& p, const engine::Disc& disc, double reach, int* slots) {
    int count = 0;
    for (int i = 0; i < p.slots; ++i) {
        const double centre = p.nx[i] * disc.x + p.ny[i] * disc.y + p.nz[i] * disc.z - p.nd[i];
        const double along = p.nx[i] * disc.nx + p.ny[i] * disc.ny + p.nz[i] * disc.nz;
        if (Near(centre, along, reach, disc.radius)) slots[count++] = i;
    }
    return count;
}

#ifdef LAPIDRAW_X86_64
bool HasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return avx2;
}

#define LAPIDRAW_AVX2 __attribute__((target("avx2,fma"), always_inline)) inline
#define LAPIDRAW_AVX2_LAMBDA __attribute__((target("avx2,fma"), always_inline))

// An end in single precision, in every lane.
struct EndLanes {
    __m256 x, y, z;
};

LAPIDRAW_AVX2 EndLanes Spread(const EndInDouble& e) {
    return {_mm256_set1_ps(static_cast<float>(e.x)), _mm256_set1_ps(static_cast<float>(e.y)),
            _mm256_set1_ps(static_cast<float>(e.z))};
}

// The slots among base ... base + 7 whose plane value at either end lies below the limit.
LAPIDRAW_AVX2 unsigned Flagged(const PlaneColumns& p, int base, const EndLanes& e1, const EndLanes& e2,
                               __m256 limit) {
    const __m256 a = _mm256_loadu_ps(p.fx + base), b = _mm256_loadu_ps(p.fy + base);
    const __m256 c = _mm256_loadu_ps(p.fz + base), d = _mm256_loadu_ps(p.fd + base);
    const __m256 v1 = _mm256_fmadd_ps(c, e1.z, _mm256_fmadd_ps(b, e1.y, _mm256_fmsub_ps(a, e1.x, d)));
    const __m256 v2 = _mm256_fmadd_ps(c, e2.z, _mm256_fmadd_ps(b, e2.y, _mm256_fmsub_ps(a, e2.x, d)));
    return static_cast<unsigned>(_mm256_movemask_ps(
        _mm256_or_ps(_mm256_cmp_ps(v1, limit, _CMP_LT_OQ), _mm256_cmp_ps(v2, limit, _CMP_LT_OQ))));
}

// The slots among first ... first + 3 whose double-precision value at either end is below `inside`
// (or no number), with those values.
LAPIDRAW_AVX2 unsigned Below(const PlaneColumns& p, int first, const EndInDouble& e1, const EndInDouble& e2,
                             __m256d inside, double* v1, double* v2) {
    const __m256d a = _mm256_loadu_pd(p.nx + first), b = _mm256_loadu_pd(p.ny + first);
    const __m256d c = _mm256_loadu_pd(p.nz + first), d = _mm256_loadu_pd(p.nd + first);
    auto value = [&](const EndInDouble& e) LAPIDRAW_AVX2_LAMBDA {
        return _mm256_fmadd_pd(
            c, _mm256_set1_pd(e.z),
            _mm256_fmadd_pd(b, _mm256_set1_pd(e.y), _mm256_fmsub_pd(a, _mm256_set1_pd(e.x), d)));
    };
    const __m256d at1 = value(e1), at2 = value(e2);
    _mm256_storeu_pd(v1, at1);
    _mm256_storeu_pd(v2, at2);
    return static_cast<unsigned>(_mm256_movemask_pd(
        _mm256_or_pd(_mm256_cmp_pd(at1, inside, _CMP_NGE_UQ), _mm256_cmp_pd(at2, inside, _CMP_NGE_UQ))));
}

// Planes tested in single precision at a time, against the ends as they were before the batch.
constexpr int BatchSlots = 32;

// The planes in batches of BatchSlots, eight at a time in single precision, against the ends as they
// were when the batch began; the planes flagged are tested again in double precision, four at a time,
// against the ends as they are, before the literal step. A plane that passes the single test against
// the ends at the start of the batch passes it against any ends the batch moves them to, while they
// only move between their ends: its value there lies between its values at the ends, less rounding far
// below StaleEndsRoom. After a step that carries an end off the segment the next batch starts at once.
__attribute__((target("avx2,fma"))) bool ClipPairAvx2(const ClipPlanes& planes, int j, int k,
                                                      engine::Segment& segment) {
    const Verdict verdict = VerdictFor(planes, segment);
    const PlaneColumns& p = planes.columns;
    const __m256 limit = _mm256_set1_ps(SingleThreshold(planes, segment));
    const __m256d inside = _mm256_set1_pd(verdict.inside);
    EndInDouble e1 = InDouble(segment.end1), e2 = InDouble(segment.end2);
    alignas(32) double v1[4], v2[4];
    for (int base = 0; base < planes.count;) {
        const EndLanes lanes1 = Spread(e1), lanes2 = Spread(e2);
        std::uint64_t flagged = 0; // bit i: slot base + i
        for (int block = base; block < base + BatchSlots && block < planes.count; block += 8)
            flagged |= std::uint64_t{Flagged(p, block, lanes1, lanes2, limit)} << (block - base);
        const int from = base;
        base += BatchSlots;
        while (flagged) {
            const int first = from + __builtin_ctzll(flagged);
            const unsigned below =
                Below(p, first, e1, e2, inside, v1, v2) & (flagged >> (first - from)) & 0xF;
            const int slot = below ? first + __builtin_ctz(below) : first + 3;
            flagged &= ~((std::uint64_t{2} << (slot - from)) - 1); // this slot and those before it are done
            if (!below || slot >= planes.count || slot == j + 1 || slot == k + 1) continue;
            const int lane = slot - first;
            const Step step = StepAt(planes, slot, verdict, segment, e1, e2, v1[lane], v2[lane]);
            if (step == Step::Gone) return false;
            if (step == Step::Carried) {
                base = slot + 1;
                break;
            }
        }
    }
    return true;
}

#undef LAPIDRAW_AVX2
#undef LAPIDRAW_AVX2_LAMBDA

__attribute__((target("avx2,fma"))) int ListNearAvx2(const PlaneColumns& p, const engine::Disc& disc,
                                                     double reach, int* slots) {
    const __m256d x = _mm256_set1_pd(disc.x), y = _mm256_set1_pd(disc.y), z = _mm256_set1_pd(disc.z);
    const __m256d nx = _mm256_set1_pd(disc.nx), ny = _mm256_set1_pd(disc.ny), nz = _mm256_set1_pd(disc.nz);
    const __m256d radius2 = _mm256_set1_pd(disc.radius * disc.radius), square = _mm256_set1_pd(NormalSquare);
    const __m256d limit = _mm256_set1_pd(reach), zero = _mm256_setzero_pd();
    int count = 0;
    for (int base = 0; base < p.slots; base += 4) {
        const __m256d a = _mm256_loadu_pd(p.nx + base), b = _mm256_loadu_pd(p.ny + base);
        const __m256d c = _mm256_loadu_pd(p.nz + base), d = _mm256_loadu_pd(p.nd + base);
        const __m256d rise =
            _mm256_sub_pd(_mm256_fmadd_pd(c, z, _mm256_fmadd_pd(b, y, _mm256_fmsub_pd(a, x, d))), limit);
        const __m256d along = _mm256_fmadd_pd(c, nz, _mm256_fmadd_pd(b, ny, _mm256_mul_pd(a, nx)));
        const __m256d across2 = _mm256_mul_pd(radius2, _mm256_fnmadd_pd(along, along, square));
        const __m256d near = _mm256_or_pd(_mm256_cmp_pd(rise, zero, _CMP_LE_OQ),
                                          _mm256_cmp_pd(_mm256_mul_pd(rise, rise), across2, _CMP_LE_OQ));
        for (unsigned hits = static_cast<unsigned>(_mm256_movemask_pd(near)); hits; hits &= hits - 1)
            slots[count++] = base + __builtin_ctz(hits);
    }
    return count;
}
#else
bool HasAvx2() {
    return false;
}
#endif
} // namespace

namespace engine {

bool ClipPair(const ClipPlanes& planes, int j, int k, Segment& segment) {
#ifdef LAPIDRAW_X86_64
    if (HasAvx2()) return ClipPairAvx2(planes, j, k, segment);
#endif
    return ClipPairPlain(planes, j, k, segment);
}

int ListNear(const PlaneColumns& planes, const Disc& disc, double reach, int* slots) {
#ifdef LAPIDRAW_X86_64
    if (HasAvx2()) return ListNearAvx2(planes, disc, reach, slots);
#endif
    return ListNearPlain(planes, disc, reach, slots);
}

} // namespace engine
