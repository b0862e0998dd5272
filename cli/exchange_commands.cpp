// ASC input (--import crown|pavilion), output by extension (.lfx, .asc, .otl), and the commands
// preform and transform.
#include "cli/tool.h"

#include <QFileInfo>

#include <memory>

namespace {
bool HasSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}
} // namespace

bool IsAscInput(const InputOptions& input) {
    return !input.Import.isEmpty();
}

bool LoadAscDesign(const InputOptions& input, TGem& gem) {
    FileResult read = gem.ReadAsc(LocalPath(input.Path));
    if (read) read = gem.ImportAsc(input.Import == "crown" ? 'c' : 'p');
    if (!read) {
        PrintModelMessage(read.Error().Message);
        return false;
    }
    gem.Recompute();
    return true;
}

int WriteOutput(TGem& gem, const QString& path) {
    const std::string name = LocalPath(path);
    // The design file records its own name, in Latin-1 like all its text.
    const FileResult written =
        HasSuffix(path, "asc") ? gem.WriteAsc(name)
        : HasSuffix(path, "otl")
            ? gem.SaveOutline(name)
            : gem.WriteDesign(name, TGem::FileMode::Save,
                              QFileInfo(path).completeBaseName().toLatin1().toStdString());
    if (written) return ExitOk;
    PrintModelMessage(written.Error().Message);
    return ExitFileError;
}

namespace {
// Applies the operation; answers a message when the design refuses it.
QString ApplyTransform(TGem& gem, const TransformRequest& transform) {
    const QString& name = transform.Operation;
    const QString beyond = QString("--%1 would take the stone beyond the engine's reach").arg(name);
    if (name == "round-indices") gem.RoundIndices();
    if (name == "rotate") gem.RotateByIndex(transform.Steps);
    if (name == "angles") {
        if (!gem.HasCutAngle(transform.Source)) return "Angle not found";
        if (!gem.ScaleAngles(transform.Target, transform.Source)) return beyond;
    }
    if (name == "resize" && !gem.Resize(transform.Value)) return beyond;
    if (name == "stretch" && !gem.StretchY(transform.Value)) return beyond;
    if (name == "shift" && !gem.ShiftAlongAxis(transform.Value)) return beyond;
    if (name == "table") gem.SetBoundingPlane(transform.Value);
    return "";
}
} // namespace

int RunPreform(const ToolRequest& request) {
    auto design = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *design)) return ExitFileError;
    design->FlattenForPreform();
    design->RevealGirdleFacets();
    auto preform = std::make_unique<TGem>();
    design->MakePreform(*preform);
    return WriteOutput(*preform, request.Output);
}

int RunTransform(const ToolRequest& request) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    const QString message = ApplyTransform(*gem, request.Transform);
    if (!message.isEmpty()) return UsageError("transform", message);
    return WriteOutput(*gem, request.Output);
}
