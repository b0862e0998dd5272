// Every published design's whole stone against qhull's half-space intersection of the same planes, and
// against the two halves, each closed by the girdle plane, intersected by qhull too.
#include "stone/stone.h"
#include "stone/stone_files.h"
#include "tests/stone/qhull_stone.h"
#include "tests/support/asc_files.h"
#include "tests/support/file_results.h"
#include "tests/support/published_asc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {
constexpr Real Relative = 1e-9L;

Vector3 Centre(const Stone& stone) {
    Vector3 sum;
    for (const Vector3& p : stone.Corners)
        sum = sum + p;
    return (Real(1) / static_cast<Real>(stone.Corners.size())) * sum;
}

// The distance from p to the nearest of the points.
Real Nearest(const Vector3& p, const std::vector<Vector3>& points) {
    Real best = INFINITY;
    for (const Vector3& q : points)
        best = std::fmin(best, std::sqrt(Dot(p - q, p - q)));
    return best;
}

// The half's volume by qhull: its planes with the girdle plane, from a point just off the girdle plane.
Real HalfVolume(const TGem& half, const Stone& stone) {
    const Real off = 1e-3L * stone.Size() * (half.IsCrown() ? 1 : -1);
    const Vector3 centre = Centre(stone);
    return QhullIntersection(StonePlanes(half.IsCrown() ? &half : nullptr, half.IsCrown() ? nullptr : &half),
                             {centre.x, centre.y, off})
        .Volume;
}

// Whether the girdle plane z = 0 cuts the stone through its girdle all round: no face but a girdle face
// reaches across it. Only then are the two halves, each closed by the girdle plane, the stone's two parts.
bool SplitsAtGirdle(const Stone& stone) {
    const Real tolerance = Relative * stone.Size();
    for (const StoneFace& face : stone.Faces) {
        bool above = false, below = false;
        for (int c : face.Corners) {
            above = above || stone.Corners[c].z > tolerance;
            below = below || stone.Corners[c].z < -tolerance;
        }
        if (above && below && !face.Girdle) return false;
    }
    return true;
}

class PublishedStone : public testing::TestWithParam<std::string> {};

TEST_P(PublishedStone, EqualsQhullsIntersectionAndTheSumOfItsHalves) {
#ifndef LAPIDRAW_HAVE_QHULL
    GTEST_SKIP() << "needs qhull (libqhull-dev)";
#endif
    if (!std::filesystem::exists(GetParam())) GTEST_SKIP() << GetParam() << " is not present";
    StoneHalves halves;
    ASSERT_TRUE(Done(ReadAscHalves(GetParam(), halves)));
    Stone stone;
    ASSERT_TRUE(Done(MakeStone(*halves.Crown, *halves.Pavilion, stone)));
    const std::vector<Plane> planes = StonePlanes(halves.Crown.get(), halves.Pavilion.get());
    const std::vector<std::string> faults = StoneFaults(stone, planes);
    EXPECT_TRUE(faults.empty()) << faults.front();

    const QhullStone hull = QhullIntersection(planes, Centre(stone));
    ASSERT_TRUE(hull.Made);
    const Real size = stone.Size();
    EXPECT_NEAR(stone.Volume, hull.Volume, Relative * hull.Volume);
    EXPECT_EQ(static_cast<int>(stone.Faces.size()), hull.FaceCount);
    EXPECT_EQ(stone.Corners.size(), hull.Corners.size());
    Real worst = 0;
    for (const Vector3& p : stone.Corners)
        worst = std::fmax(worst, Nearest(p, hull.Corners));
    for (const Vector3& p : hull.Corners)
        worst = std::fmax(worst, Nearest(p, stone.Corners));
    EXPECT_LT(worst, Relative * size);

    // Where the girdle is not whole at z = 0, each half keeps some of what the other half's facets cut.
    const Real halvesVolume = HalfVolume(*halves.Crown, stone) + HalfVolume(*halves.Pavilion, stone);
    if (SplitsAtGirdle(stone))
        EXPECT_NEAR(stone.Volume, halvesVolume, Relative * stone.Volume);
    else
        EXPECT_GT(halvesVolume, stone.Volume) << "z = 0 crosses facets other than the girdle's";
}

std::vector<std::string> PublishedDesigns() {
    std::vector<std::string> files = AscFilesIn({std::string(LAPIDRAW_TEST_DATA) + "/asc"});
    const std::vector<std::string> shared = AscFilesIn({LAPIDRAW_SHARED_ASC});
    files.insert(files.end(), shared.begin(), shared.end());
    return files;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = std::to_string(info.index) + "_" + std::filesystem::path(info.param).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Designs, PublishedStone, testing::ValuesIn(PublishedDesigns()), TestName);
} // namespace
