// 3MF through lib3mf 1.x's plain C interface (Debian lib3mf-dev): one mesh object in millimetres.
#include "mesh/mesh_files.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <cstdint>
#include <memory>

namespace {
// Releases a lib3mf instance when it goes out of scope.
struct Lib3mfRelease {
    void operator()(NMR::PLib3MFBase* instance) const { NMR::lib3mf_release(instance); }
};
using Lib3mfHandle = std::unique_ptr<NMR::PLib3MFBase, Lib3mfRelease>;

bool Failed(LIB3MFRESULT result) {
    return result != LIB3MF_OK;
}

bool Write3mfTo(const StoneMesh& mesh, const std::string& temporary) {
    std::vector<NMR::MODELMESHVERTEX> vertices(mesh.Corners.size());
    for (std::size_t i = 0; i < mesh.Corners.size(); ++i) {
        vertices[i].m_fPosition[0] = static_cast<float>(mesh.Corners[i].x);
        vertices[i].m_fPosition[1] = static_cast<float>(mesh.Corners[i].y);
        vertices[i].m_fPosition[2] = static_cast<float>(mesh.Corners[i].z);
    }
    std::vector<NMR::MODELMESHTRIANGLE> triangles(mesh.Triangles.size());
    for (std::size_t i = 0; i < mesh.Triangles.size(); ++i)
        for (int k = 0; k < 3; ++k)
            triangles[i].m_nIndices[k] = static_cast<std::uint32_t>(mesh.Triangles[i].Corners[k]);

    NMR::PLib3MFModel* rawModel = nullptr;
    if (Failed(NMR::lib3mf_createmodel(&rawModel))) return false;
    const Lib3mfHandle model(rawModel);
    if (Failed(NMR::lib3mf_model_setunit(rawModel, NMR::MODELUNIT_MILLIMETER))) return false;
    NMR::PLib3MFModelMeshObject* rawObject = nullptr;
    if (Failed(NMR::lib3mf_model_addmeshobject(rawModel, &rawObject))) return false;
    const Lib3mfHandle object(rawObject);
    if (Failed(NMR::lib3mf_object_setnameutf8(rawObject, "Stone")) ||
        Failed(NMR::lib3mf_meshobject_setgeometry(
            rawObject, vertices.data(), static_cast<std::uint32_t>(vertices.size()), triangles.data(),
            static_cast<std::uint32_t>(triangles.size()))))
        return false;
    NMR::PLib3MFModelBuildItem* rawItem = nullptr;
    if (Failed(NMR::lib3mf_model_addbuilditem(rawModel, rawObject, nullptr, &rawItem))) return false;
    const Lib3mfHandle item(rawItem);
    NMR::PLib3MFModelWriter* rawWriter = nullptr;
    if (Failed(NMR::lib3mf_model_querywriter(rawModel, "3mf", &rawWriter))) return false;
    const Lib3mfHandle writer(rawWriter);
    return !Failed(NMR::lib3mf_writer_writetofileutf8(rawWriter, temporary.c_str()));
}
} // namespace

FileResult Write3mf(const StoneMesh& mesh, const std::string& path) {
    return WriteBeside(path, [&](const std::string& temporary) {
        return Write3mfTo(mesh, temporary) ? FileResult()
                                           : CannotWrite(path, "the 3MF library could not write it");
    });
}
