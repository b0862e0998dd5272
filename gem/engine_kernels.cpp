// The fast way's plane loops, each built for AVX2 and for the plain instruction set; the processor
// decides at run time. Only the speed differs: the double-precision values feed tests whose margins
// cover their rounding either way.
#include "gem/engine_kernels.h"

#include <cmath>

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

// The bounds of the literal test for a pair's segment. Its ends never leave the box of its first
// ends by more than RunPastLimit (clips move an end between the ends or carry it that far at most).
Verdict VerdictFor(const ClipPlanes& planes, const engine::Segment& segment) {
    const Vector3 &a = segment.end1, &b = segment.end2;
    const Real size = std::fmax(std::fmax(std::fmax(std::fabs(a.x), std::fabs(a.y)), std::fabs(a.z)),
                                std::fmax(std::fmax(std::fabs(b.x), std::fabs(b.y)), std::fabs(b.z)));
    const double margin =
        PrefilterRounding * (1 + 2 * static_cast<double>(size + engine::RunPastLimit) + planes.farthest);
    const double tolerance = static_cast<double>(engine::OutsideTolerance);
    return {-tolerance - margin, -tolerance + margin};
}

// The literal step at one plane that the test could not pass over. Clips the segment, telling which
// ends moved; false when the segment is gone.
[[gnu::always_inline]] inline bool StepAt(const ClipPlanes& planes, int slot, const Verdict& verdict,
                                          engine::Segment& segment, double v1, double v2, bool& moved1,
                                          bool& moved2) {
    const Facet& plane = planes.facets[slot];
    const bool settled =
        (v1 < verdict.outside || v1 >= verdict.inside) && (v2 < verdict.outside || v2 >= verdict.inside);
    if (!settled) {
        moved1 = moved2 = true;
        return engine::ClipByPlane(plane, segment);
    }
    const bool out1 = v1 < verdict.outside, out2 = v2 < verdict.outside;
    if (out1 && out2) return false;
    moved1 = out1, moved2 = out2;
    if (out1 != out2) {
        const Real reach1 = Dot(plane.Normal, segment.end1);
        engine::MoveOutsideEnd(plane, segment, out1, reach1);
    }
    return true;
}

bool ClipPairPlain(const ClipPlanes& planes, int j, int k, engine::Segment& segment) {
    const Verdict verdict = VerdictFor(planes, segment);
    EndInDouble e1 = InDouble(segment.end1), e2 = InDouble(segment.end2);
    for (int slot = 0; slot < planes.count; ++slot) {
        const double v1 = ValueAt(planes.columns, slot, e1), v2 = ValueAt(planes.columns, slot, e2);
        if (v1 >= verdict.inside && v2 >= verdict.inside) continue;
        if (slot == j + 1 || slot == k + 1) continue;
        bool moved1 = false, moved2 = false;
        if (!StepAt(planes, slot, verdict, segment, v1, v2, moved1, moved2)) return false;
        if (moved1) e1 = InDouble(segment.end1);
        if (moved2) e2 = InDouble(segment.end2);
    }
    return true;
}

int ListNearPlain(const PlaneColumns& p, double x, double y, double z, double reach, int* slots) {
    int count = 0;
    for (int i = 0; i < p.slots; ++i)
        if (p.nx[i] * x + p.ny[i] * y + p.nz[i] * z - p.nd[i] <= reach) slots[count++] = i;
    return count;
}

#ifdef LAPIDRAW_X86_64
bool HasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

__attribute__((target("avx2"))) bool ClipPairAvx2(const ClipPlanes& planes, int j, int k,
                                                  engine::Segment& segment) {
    const Verdict verdict = VerdictFor(planes, segment);
    const PlaneColumns& p = planes.columns;
    const __m256d inside = _mm256_set1_pd(verdict.inside);
    EndInDouble e1 = InDouble(segment.end1), e2 = InDouble(segment.end2);
    __m256d x1 = _mm256_set1_pd(e1.x), y1 = _mm256_set1_pd(e1.y), z1 = _mm256_set1_pd(e1.z);
    __m256d x2 = _mm256_set1_pd(e2.x), y2 = _mm256_set1_pd(e2.y), z2 = _mm256_set1_pd(e2.z);
    for (int base = 0; base < planes.count; base += 4) {
        const __m256d a = _mm256_loadu_pd(p.nx + base), b = _mm256_loadu_pd(p.ny + base);
        const __m256d c = _mm256_loadu_pd(p.nz + base), d = _mm256_loadu_pd(p.nd + base);
        const __m256d v1 = _mm256_sub_pd(
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(a, x1), _mm256_mul_pd(b, y1)), _mm256_mul_pd(c, z1)),
            d);
        const __m256d v2 = _mm256_sub_pd(
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(a, x2), _mm256_mul_pd(b, y2)), _mm256_mul_pd(c, z2)),
            d);
        unsigned hits = static_cast<unsigned>(_mm256_movemask_pd(
            _mm256_or_pd(_mm256_cmp_pd(v1, inside, _CMP_LT_OQ), _mm256_cmp_pd(v2, inside, _CMP_LT_OQ))));
        while (hits) {
            const int slot = base + __builtin_ctz(hits);
            hits &= hits - 1;
            if (slot >= planes.count || slot == j + 1 || slot == k + 1) continue;
            bool moved1 = false, moved2 = false;
            if (!StepAt(planes, slot, verdict, segment, ValueAt(p, slot, e1), ValueAt(p, slot, e2), moved1,
                        moved2))
                return false;
            if (!moved1 && !moved2) continue;
            if (moved1) {
                e1 = InDouble(segment.end1);
                x1 = _mm256_set1_pd(e1.x), y1 = _mm256_set1_pd(e1.y), z1 = _mm256_set1_pd(e1.z);
            }
            if (moved2) {
                e2 = InDouble(segment.end2);
                x2 = _mm256_set1_pd(e2.x), y2 = _mm256_set1_pd(e2.y), z2 = _mm256_set1_pd(e2.z);
            }
            // The rest of this block is tested again against the moved ends.
            const unsigned later = ~0u << (slot - base + 1) & 0xFu;
            const __m256d w1 =
                _mm256_sub_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(a, x1), _mm256_mul_pd(b, y1)),
                                            _mm256_mul_pd(c, z1)),
                              d);
            const __m256d w2 =
                _mm256_sub_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(a, x2), _mm256_mul_pd(b, y2)),
                                            _mm256_mul_pd(c, z2)),
                              d);
            hits = static_cast<unsigned>(_mm256_movemask_pd(_mm256_or_pd(
                       _mm256_cmp_pd(w1, inside, _CMP_LT_OQ), _mm256_cmp_pd(w2, inside, _CMP_LT_OQ)))) &
                   later;
        }
    }
    return true;
}

__attribute__((target("avx2"))) int ListNearAvx2(const PlaneColumns& p, double x, double y, double z,
                                                 double reach, int* slots) {
    const __m256d px = _mm256_set1_pd(x), py = _mm256_set1_pd(y), pz = _mm256_set1_pd(z);
    const __m256d limit = _mm256_set1_pd(reach);
    int count = 0;
    for (int base = 0; base < p.slots; base += 4) {
        const __m256d v =
            _mm256_sub_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_loadu_pd(p.nx + base), px),
                                                      _mm256_mul_pd(_mm256_loadu_pd(p.ny + base), py)),
                                        _mm256_mul_pd(_mm256_loadu_pd(p.nz + base), pz)),
                          _mm256_loadu_pd(p.nd + base));
        for (unsigned hits = static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(v, limit, _CMP_LE_OQ)));
             hits; hits &= hits - 1)
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

int ListNear(const PlaneColumns& planes, double x, double y, double z, double reach, int* slots) {
#ifdef LAPIDRAW_X86_64
    if (HasAvx2()) return ListNearAvx2(planes, x, y, z, reach, slots);
#endif
    return ListNearPlain(planes, x, y, z, reach, slots);
}

} // namespace engine
