// 3D files of stones written and read back: STL and OBJ by this test's own mesh code (closed,
// outward, volume and width), 3MF by lib3mf, STEP by Open CASCADE; the girdle outline as SVG and DXF;
// the thickened girdle against a closed form; the refusals.
#include "mesh/mesh_files.h"
#include "stone/stone_files.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"

#include "gem/range_error.h"

#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <STEPControl_Reader.hxx>
#include <TopoDS_Shape.hxx>

#include <Model/COM/NMR_DLLInterfaces.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

namespace {
namespace fs = std::filesystem;
constexpr Real Relative = 1e-6L;
constexpr Real WidthMm = 10; // floats carry a width this size to well within a micrometre
constexpr Real Micrometre = 1e-3L;

// A triangle soup read back from a file, its corners merged where they are equal.
struct Soup {
    std::vector<Vector3> Points;
    std::vector<std::array<int, 3>> Triangles;
    std::vector<Vector3> Normals; // as the file gives them, one per triangle
};

int PointIndex(Soup& soup, std::map<std::array<double, 3>, int>& index, const Vector3& p) {
    const auto [it, added] =
        index.try_emplace({double(p.x), double(p.y), double(p.z)}, int(soup.Points.size()));
    if (added) soup.Points.push_back(p);
    return it->second;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Soup ReadStl(const std::string& path) {
    const std::string bytes = Bytes(path);
    Soup soup;
    std::map<std::array<double, 3>, int> index;
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    EXPECT_EQ(bytes.size(), 84 + 50 * std::size_t(count));
    auto vector = [&bytes](std::size_t at) {
        float f[3];
        std::memcpy(f, bytes.data() + at, sizeof f);
        return Vector3{f[0], f[1], f[2]};
    };
    for (std::size_t t = 0; t < count; ++t) {
        const std::size_t at = 84 + 50 * t;
        soup.Normals.push_back(vector(at));
        soup.Triangles.push_back({PointIndex(soup, index, vector(at + 12)),
                                  PointIndex(soup, index, vector(at + 24)),
                                  PointIndex(soup, index, vector(at + 36))});
    }
    return soup;
}

// OBJ: its corners, its triangles with their normals, and the groups named.
Soup ReadObj(const std::string& path, std::vector<std::string>& groups) {
    Soup soup;
    std::vector<Vector3> normals;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "v" || kind == "vn") {
            double x, y, z;
            words >> x >> y >> z;
            (kind == "v" ? soup.Points : normals).push_back({x, y, z});
        } else if (kind == "g") {
            groups.emplace_back();
            words >> groups.back();
        } else if (kind == "f") {
            std::array<int, 3> t{};
            int normal = 0;
            for (int& c : t) {
                std::string corner;
                words >> corner;
                c = std::stoi(corner) - 1;
                normal = std::stoi(corner.substr(corner.find("//") + 2)) - 1;
            }
            soup.Triangles.push_back(t);
            soup.Normals.push_back(normals.at(std::size_t(normal)));
        }
    }
    return soup;
}

// Every edge in exactly two triangles, run in opposite directions; answers the faults.
std::vector<std::string> ManifoldFaults(const Soup& soup) {
    std::map<std::pair<int, int>, int> directed;
    for (const auto& t : soup.Triangles)
        for (int i = 0; i < 3; ++i)
            ++directed[{t[i], t[(i + 1) % 3]}];
    std::vector<std::string> faults;
    for (const auto& [edge, count] : directed)
        if (count != 1 || directed.count({edge.second, edge.first}) == 0 ||
            directed.at({edge.second, edge.first}) != 1)
            faults.push_back("edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second));
    return faults;
}

Real SignedVolume(const Soup& soup) {
    Real sum = 0;
    for (const auto& t : soup.Triangles)
        sum += Dot(soup.Points[t[0]], Cross(soup.Points[t[1]], soup.Points[t[2]]));
    return sum / 6;
}

// Triangles whose winding disagrees with the normal the file gives.
int InwardTriangles(const Soup& soup) {
    int inward = 0;
    for (std::size_t i = 0; i < soup.Triangles.size(); ++i) {
        const auto& t = soup.Triangles[i];
        const Vector3 n = Cross(soup.Points[t[1]] - soup.Points[t[0]], soup.Points[t[2]] - soup.Points[t[0]]);
        if (Dot(n, soup.Normals[i]) <= 0) ++inward;
    }
    return inward;
}

Real Width(const std::vector<Vector3>& points) {
    Real low = INFINITY, high = -INFINITY;
    for (const Vector3& p : points) {
        low = std::fmin(low, p.x);
        high = std::fmax(high, p.x);
    }
    return high - low;
}

Real Read3mfVolume(const std::string& path, std::uint32_t& unit) {
    using namespace NMR;
    PLib3MFModel* model = nullptr;
    PLib3MFModelReader* reader = nullptr;
    PLib3MFModelResourceIterator* objects = nullptr;
    PLib3MFModelResource* object = nullptr;
    BOOL more = false;
    EXPECT_EQ(lib3mf_createmodel(&model), LIB3MF_OK);
    EXPECT_EQ(lib3mf_model_queryreader(model, "3mf", &reader), LIB3MF_OK);
    EXPECT_EQ(lib3mf_reader_readfromfileutf8(reader, path.c_str()), LIB3MF_OK);
    EXPECT_EQ(lib3mf_model_getunit(model, &unit), LIB3MF_OK);
    EXPECT_EQ(lib3mf_model_getmeshobjects(model, &objects), LIB3MF_OK);
    EXPECT_EQ(lib3mf_resourceiterator_movenext(objects, &more), LIB3MF_OK);
    EXPECT_TRUE(more);
    EXPECT_EQ(lib3mf_resourceiterator_getcurrent(objects, &object), LIB3MF_OK);
    DWORD corners = 0, triangles = 0;
    lib3mf_meshobject_getvertexcount(object, &corners);
    lib3mf_meshobject_gettrianglecount(object, &triangles);
    std::vector<MODELMESHVERTEX> v(corners);
    std::vector<MODELMESHTRIANGLE> t(triangles);
    lib3mf_meshobject_getvertices(object, v.data(), corners, nullptr);
    lib3mf_meshobject_gettriangleindices(object, t.data(), triangles, nullptr);
    Soup soup;
    for (const auto& p : v)
        soup.Points.push_back({p.m_fPosition[0], p.m_fPosition[1], p.m_fPosition[2]});
    for (const auto& i : t)
        soup.Triangles.push_back({int(i.m_nIndices[0]), int(i.m_nIndices[1]), int(i.m_nIndices[2])});
    for (PLib3MFBase* instance : {object, objects, reader, model})
        lib3mf_release(instance);
    EXPECT_TRUE(ManifoldFaults(soup).empty());
    return SignedVolume(soup);
}

Real ReadStepVolume(const std::string& path, bool& valid) {
    STEPControl_Reader reader;
    EXPECT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    reader.TransferRoots();
    const TopoDS_Shape shape = reader.OneShape();
    valid = BRepCheck_Analyzer(shape).IsValid();
    GProp_GProps properties;
    BRepGProp::VolumeProperties(shape, properties);
    return properties.Mass();
}

struct TestStone {
    std::string Name;
    Stone Made;
};

std::vector<TestStone> Stones() {
    std::vector<TestStone> stones;
    for (const std::string& path : AscFilesIn({LAPIDRAW_TEST_DATA "/asc"})) {
        StoneHalves halves;
        Stone stone;
        if (ReadAscHalves(path, halves) && MakeStone(*halves.Crown, *halves.Pavilion, stone))
            stones.push_back({fs::path(path).stem().string(), stone});
    }
    Stone brilliant;
    if (MakeStone(*RoundBrilliantCrown(), *RoundBrilliantPavilion(), brilliant))
        stones.push_back({"RoundBrilliant", brilliant});
    Stone crown;
    if (MakeHalfStone(*RoundBrilliantCrown(), crown)) stones.push_back({"RoundBrilliantCrown", crown});
    return stones;
}

class StoneFiles : public testing::TestWithParam<TestStone> {
  protected:
    StoneMesh Mesh(Real minGirdle = 0) const {
        MeshOptions options;
        options.Size.WidthMm = WidthMm;
        options.MinGirdleMm = minGirdle;
        return MakeStoneMesh(GetParam().Made, options);
    }
    Real ExpectedVolume(const StoneMesh& mesh) const { return mesh.VolumeMm3; }
};

TEST_P(StoneFiles, StlAndObjAreClosedOutwardAndOfTheStonesVolumeAndWidth) {
    const Stone& stone = GetParam().Made;
    const StoneMesh mesh = Mesh();
    const Real scale = WidthMm / (stone.BoxMax.x - stone.BoxMin.x);
    const Real volume = stone.Volume * scale * scale * scale;
    TempFile stl("stone.stl"), obj("stone.obj");
    ASSERT_TRUE(Done(WriteStoneMesh(mesh, stl.Path())));
    ASSERT_TRUE(Done(WriteStoneMesh(mesh, obj.Path())));
    std::vector<std::string> groups;
    for (const Soup& soup : {ReadStl(stl.Path()), ReadObj(obj.Path(), groups)}) {
        const std::vector<std::string> faults = ManifoldFaults(soup);
        EXPECT_TRUE(faults.empty()) << faults.size() << " faults, first " << faults.front();
        EXPECT_EQ(InwardTriangles(soup), 0);
        EXPECT_NEAR(SignedVolume(soup), volume, Relative * volume);
        EXPECT_NEAR(Width(soup.Points), WidthMm, 1e-6L);
    }
    // Each group has its material.
    const std::string materials = Bytes(MaterialFileName(obj.Path()));
    for (const std::string& group : groups)
        EXPECT_NE(materials.find("newmtl " + group + "\n"), std::string::npos) << group;
}

TEST_P(StoneFiles, ThreeMfAndStepReadBackGiveTheVolume) {
    const StoneMesh mesh = Mesh();
    TempFile threeMf("stone.3mf"), step("stone.step");
    ASSERT_TRUE(Done(WriteStoneMesh(mesh, threeMf.Path())));
    ASSERT_TRUE(Done(WriteStoneMesh(mesh, step.Path())));
    std::uint32_t unit = 0;
    EXPECT_NEAR(Read3mfVolume(threeMf.Path(), unit), mesh.VolumeMm3, Relative * mesh.VolumeMm3);
    EXPECT_EQ(unit, std::uint32_t(NMR::MODELUNIT_MILLIMETER));
    bool valid = false;
    EXPECT_NEAR(ReadStepVolume(step.Path(), valid), mesh.VolumeMm3, Relative * mesh.VolumeMm3);
    EXPECT_TRUE(valid);
}

// The outline read back from SVG (y down) and DXF gives the section's corners, each on the stone's
// surface at z = 0.
TEST_P(StoneFiles, OutlineReadBackGivesTheSectionsCorners) {
    const Stone& stone = GetParam().Made;
    const std::vector<Vector3> outline = GirdleOutlineMm(stone, WidthMm);
    ASSERT_GE(outline.size(), 3u);
    const Real scale = WidthMm / (stone.BoxMax.x - stone.BoxMin.x);
    for (const Vector3& p : outline) {
        Real nearest = INFINITY;
        for (const StoneFace& face : stone.Faces) {
            const Real inside = Dot(face.FacePlane.Normal, (1 / scale) * p) - face.FacePlane.Dist;
            EXPECT_GE(inside, -1e-9L * stone.Size());
            nearest = std::fmin(nearest, inside);
        }
        EXPECT_NEAR(nearest, 0, 1e-9L * stone.Size());
    }
    // The SVG polygon's points, and the DXF's 10 and 20 groups.
    std::vector<Vector3> svg, dxf;
    const std::string svgText = OutlineSvg(outline);
    std::istringstream points(svgText.substr(svgText.find("points=\"") + 8));
    std::string pair;
    while (points >> pair && pair != "/>") {
        double x, y;
        if (std::sscanf(pair.c_str(), "%lf,%lf", &x, &y) == 2) svg.push_back({x, -y, 0});
    }
    std::istringstream lines(OutlineDxf(outline));
    std::string code, value;
    while (std::getline(lines, code) && std::getline(lines, value)) {
        if (std::stoi(code) == 10) dxf.push_back({std::stod(value), 0, 0});
        if (std::stoi(code) == 20) dxf.back().y = std::stod(value);
    }
    for (const auto* read : {&svg, &dxf}) {
        ASSERT_EQ(read->size(), outline.size());
        for (std::size_t i = 0; i < outline.size(); ++i)
            EXPECT_LT(std::hypot((*read)[i].x - outline[i].x, (*read)[i].y - outline[i].y), 1e-8L);
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, StoneFiles, testing::ValuesIn(Stones()),
                         [](const testing::TestParamInfo<TestStone>& info) { return info.param.Name; });

// An octagon on 96 teeth, 100 wide, its crown and pavilion meeting in a band `girdle` high (or in a
// ridge): mains at 34.5 and 40.75 degrees, a table 28 from the axis.
Stone Octagon(Real girdle) {
    constexpr Real Rad = std::numbers::pi_v<Real> / 180;
    auto crown = NewGem('c', 8, 96, false), pavilion = NewGem('p', 8, 96, false);
    if (girdle > 0) {
        CutByAngle(*crown, 90, 0, 50);
        CutByAngle(*pavilion, 90, 0, 50);
    }
    CutThroughPoint(*crown, 34.5L, 0, {50, 0, girdle / 2});
    CutHorizontal(*crown, girdle / 2 + 22 * std::tan(34.5L * Rad));
    CutThroughPoint(*pavilion, 40.75L, 0, {50, 0, -girdle / 2});
    for (TGem* half : {crown.get(), pavilion.get()}) {
        half->Recompute();
    }
    Stone stone;
    EXPECT_TRUE(Done(MakeStone(*crown, *pavilion, stone)));
    return stone;
}

// Thickening adds a prism of the octagonal section (inradius 50) as high as the shortfall: at 10 mm
// wide a design unit is 0.1 mm.
TEST(ThickerGirdle, AddsThePrismOfTheSectionAndKeepsTheWidth) {
    struct Case {
        Real Girdle, MinMm, AddedMm;
    };
    const Real octagon = 8 * 50 * 50 * std::tan(std::numbers::pi_v<Real> / 8);
    for (const Case c : {Case{2, 0.5L, 0.3L}, Case{0, 0.5L, 0.5L}, Case{2, 0.1L, 0}, Case{0, 0, 0}}) {
        const Stone stone = Octagon(c.Girdle);
        MeshOptions options;
        options.Size.WidthMm = WidthMm;
        options.MinGirdleMm = c.MinMm;
        const StoneMesh mesh = MakeStoneMesh(stone, options);
        const Real expected = (stone.Volume + octagon * c.AddedMm * 10) / 1000;
        EXPECT_NEAR(mesh.GirdleAddedMm, c.AddedMm, 1e-12L) << c.Girdle << " " << c.MinMm;
        EXPECT_NEAR(mesh.GirdleMm, std::fmax(c.MinMm, c.Girdle / 10), 1e-12L);
        EXPECT_NEAR(mesh.VolumeMm3, expected, 1e-12L * expected);
        EXPECT_NEAR(mesh.WidthMm, WidthMm, 1e-12L);
        EXPECT_NEAR(mesh.HeightMm, (stone.BoxMax.z - stone.BoxMin.z) / 10 + c.AddedMm, 1e-12L);
        // The file is still closed and outward.
        TempFile stl("thick.stl");
        ASSERT_TRUE(Done(WriteStl(mesh, stl.Path())));
        const Soup soup = ReadStl(stl.Path());
        EXPECT_TRUE(ManifoldFaults(soup).empty());
        EXPECT_NEAR(SignedVolume(soup), expected, Relative * expected);
    }
}

TEST(StoneMeshSize, CaratsOfAMaterialGiveTheWeight) {
    const Stone stone = Octagon(2);
    const Material* quartz = FindMaterial("Quartz");
    MeshOptions options;
    options.Size.Carats = 1.5L;
    options.Size.Of = quartz;
    const StoneMesh mesh = MakeStoneMesh(stone, options);
    EXPECT_NEAR(mesh.VolumeMm3 * quartz->SpecificGravity / 200, 1.5L, 1e-12L);
}

TEST(StoneMeshRefusals, SizesThatAreNotPositiveFiniteNumbers) {
    const Stone stone = Octagon(2);
    for (const Real bad : {Real(0), Real(-1), Real(NAN), Real(INFINITY)}) {
        MeshOptions byWidth, byWeight, girdle;
        byWidth.Size.WidthMm = bad;
        byWeight.Size.Carats = bad;
        byWeight.Size.Of = FindMaterial("Quartz");
        girdle.Size.WidthMm = 5;
        girdle.MinGirdleMm = bad == 0 ? -1 : bad;
        EXPECT_THROW(MakeStoneMesh(stone, byWidth), RangeError);
        EXPECT_THROW(MakeStoneMesh(stone, byWeight), RangeError);
        EXPECT_THROW(MakeStoneMesh(stone, girdle), RangeError);
    }
    MeshOptions noMaterial;
    noMaterial.Size.Carats = 1;
    EXPECT_THROW(MakeStoneMesh(stone, noMaterial), RangeError);
    // A half without facets makes no stone, and no stone makes no mesh.
    Stone none;
    const FileError error = MakeHalfStone(*NewGem('c'), none).Error();
    EXPECT_NE(error.Message.find("no stone"), std::string::npos) << error.Message;
    EXPECT_THROW(MakeStoneMesh(none, noMaterial), RangeError);
}

// A target that cannot be written: a message naming it, and nothing left in its folder.
TEST(StoneMeshRefusals, UnwritablePathsLeaveNoFile) {
    MeshOptions options;
    options.Size.WidthMm = WidthMm;
    const Stone stone = Octagon(2);
    const StoneMesh mesh = MakeStoneMesh(stone, options);
    const std::vector<Vector3> outline = GirdleOutlineMm(stone, WidthMm);
    TempFile place("place");
    const fs::path dir = fs::path(place.Path()).parent_path();
    for (const char* extension : {".stl", ".obj", ".3mf", ".step", ".svg", ".dxf"}) {
        const std::string inMissingFolder = (dir / "missing" / "stone").string() + extension;
        const std::string onAFolder = (dir / "folder").string() + extension;
        fs::create_directory(onAFolder);
        for (const std::string& target : {inMissingFolder, onAFolder}) {
            const bool outlineFile = std::string(extension) == ".svg" || std::string(extension) == ".dxf";
            const FileResult written =
                outlineFile ? WriteOutline(outline, target) : WriteStoneMesh(mesh, target);
            EXPECT_FALSE(written) << target;
            const FileError& error = written.Error();
            // (an OBJ file's material file, written first, may be the one named)
            const std::string named = fs::path(target).replace_extension().string();
            EXPECT_NE(error.Message.find(named), std::string::npos) << error.Message;
        }
    }
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_TRUE(entry.is_directory()) << "left behind: " << entry.path();
}
} // namespace
