#include "tests/stone/qhull_stone.h"

#ifdef LAPIDRAW_HAVE_QHULL
extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include <string>

namespace {
// The convex hull's volume of the corners ('FA' computes it).
Real HullVolume(std::vector<coordT> points) {
    qhT state;
    qhT* qh = &state;
    qh_zero(qh, stderr);
    char command[] = "qhull FA";
    Real volume = 0;
    if (qh_new_qhull(qh, 3, static_cast<int>(points.size() / 3), points.data(), False, command, nullptr,
                     stderr) == 0)
        volume = qh->totvol;
    qh_freeqhull(qh, !qh_ALL);
    int curlong = 0, totlong = 0;
    qh_memfreeshort(qh, &curlong, &totlong);
    return volume;
}
} // namespace

QhullStone QhullIntersection(const std::vector<Plane>& planes, const Vector3& inside) {
    // qhull takes normal . p + offset <= 0 with the outward normal.
    std::vector<coordT> spaces;
    for (const Plane& plane : planes)
        for (Real v : {-plane.Normal.x, -plane.Normal.y, -plane.Normal.z, plane.Dist})
            spaces.push_back(static_cast<coordT>(v));
    char point[200];
    std::snprintf(point, sizeof point, "qhull H%.17g,%.17g,%.17g", static_cast<double>(inside.x),
                  static_cast<double>(inside.y), static_cast<double>(inside.z));
    std::string command = point;

    QhullStone result;
    qhT state;
    qhT* qh = &state;
    qh_zero(qh, stderr);
    if (qh_new_qhull(qh, 4, static_cast<int>(planes.size()), spaces.data(), False, command.data(), nullptr,
                     stderr) == 0) {
        result.Made = true;
        std::vector<coordT> corners;
        facetT* facet;
        FORALLfacets {
            // The dual facet's intersection point, as qhull's own 'Fp' output computes it.
            Vector3 p;
            Real* coordinates[] = {&p.x, &p.y, &p.z};
            for (int k = 0; k < 3; ++k)
                *coordinates[k] = facet->normal[k] / -facet->offset + qh->feasible_point[k];
            result.Corners.push_back(p);
            for (Real v : {p.x, p.y, p.z})
                corners.push_back(static_cast<coordT>(v));
        }
        result.FaceCount = qh->num_vertices;
        result.Volume = HullVolume(corners);
    }
    qh_freeqhull(qh, !qh_ALL);
    int curlong = 0, totlong = 0;
    qh_memfreeshort(qh, &curlong, &totlong);
    return result;
}
#else
QhullStone QhullIntersection(const std::vector<Plane>&, const Vector3&) {
    return {};
}
#endif
