// STEP through Open CASCADE: every face of the stone a planar face bounded by its polygon, sewn into
// one closed shell, made a solid and written as an AP214 manifold solid in millimetres.
#include "mesh/mesh_files.h"

#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepLib.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <optional>

namespace {
constexpr double SewingTolerance = 1e-9; // of the stone's size: the faces share their corners exactly

gp_Pnt PointOf(const Vector3& v) {
    return gp_Pnt(static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z));
}

TopoDS_Face FaceOf(const StoneMesh& mesh, const MeshFace& face) {
    BRepBuilderAPI_MakePolygon polygon;
    for (int c : face.Corners)
        polygon.Add(PointOf(mesh.Corners[c]));
    polygon.Close();
    const gp_Dir normal(static_cast<double>(face.Normal.x), static_cast<double>(face.Normal.y),
                        static_cast<double>(face.Normal.z));
    const gp_Pln plane(PointOf(mesh.Corners[face.Corners.front()]), normal);
    return BRepBuilderAPI_MakeFace(plane, polygon.Wire(), true).Face();
}

std::optional<TopoDS_Solid> SolidOf(const StoneMesh& mesh) {
    const double size = static_cast<double>(std::max({mesh.WidthMm, mesh.LengthMm, mesh.HeightMm}));
    BRepBuilderAPI_Sewing sewing(SewingTolerance * size);
    for (const MeshFace& face : mesh.Faces)
        sewing.Add(FaceOf(mesh, face));
    sewing.Perform();
    TopExp_Explorer shells(sewing.SewedShape(), TopAbs_SHELL);
    if (!shells.More()) return std::nullopt;
    BRepBuilderAPI_MakeSolid made(TopoDS::Shell(shells.Current()));
    if (!made.IsDone()) return std::nullopt;
    TopoDS_Solid solid = made.Solid();
    BRepLib::OrientClosedSolid(solid);
    return solid;
}

// Open CASCADE reports its progress on standard output, where the command line writes its JSON note.
void QuietOpenCascade() {
    static const bool quiet = [] {
        Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
        return true;
    }();
    (void)quiet;
}

// Writes the solid of the mesh to the temporary file; a failure names `path`, the file the user asked for.
FileResult WriteStepTo(const StoneMesh& mesh, const std::string& temporary, const std::string& path) {
    QuietOpenCascade();
    try {
        const std::optional<TopoDS_Solid> solid = SolidOf(mesh);
        if (!solid) return CannotWrite(path, "the faces do not close into a solid");
        STEPControl_Writer writer;
        Interface_Static::SetCVal("write.step.schema", "AP214IS");
        Interface_Static::SetCVal("write.step.unit", "MM");
        Interface_Static::SetCVal("write.step.product.name", "Stone");
        if (writer.Transfer(*solid, STEPControl_ManifoldSolidBrep) != IFSelect_RetDone)
            return CannotWrite(path, "the solid could not be put into STEP");
        if (writer.Write(temporary.c_str()) != IFSelect_RetDone)
            return CannotWrite(path, "the STEP writer failed");
        return {};
    } catch (const Standard_Failure& failure) {
        return CannotWrite(path, failure.GetMessageString());
    }
}
} // namespace

FileResult WriteStep(const StoneMesh& mesh, const std::string& path) {
    return WriteBeside(path,
                       [&](const std::string& temporary) { return WriteStepTo(mesh, temporary, path); });
}
