// ASC input (--import crown|pavilion), output by extension (.lfx, .asc, .otl), and the commands
// preform and transform.
#include "cli/tool.h"
#include "gem/numread.h"

#include <QFileInfo>

#include <memory>

namespace {
const char* const ImportOption = "import";

bool HasSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}
} // namespace

void AddInputOptions(QCommandLineParser& parser) {
    parser.addOption(
        {ImportOption, "Import an ASC file's crown or pavilion (required for .asc input).", "half"});
}

std::optional<int> TakeInputOptions(const QCommandLineParser& parser, const QString& subcommand,
                                    const QString& path, InputOptions& input) {
    input.Path = path;
    input.Import = parser.value(ImportOption);
    const bool asc = HasSuffix(path, "asc");
    if (asc && input.Import.isEmpty())
        return UsageError(subcommand, "an ASC file needs --import crown or --import pavilion");
    if (!asc && parser.isSet(ImportOption))
        return UsageError(subcommand, "--import applies to ASC files only");
    if (asc && input.Import != "crown" && input.Import != "pavilion")
        return UsageError(subcommand,
                          QString("--import takes crown or pavilion, not '%1'").arg(input.Import));
    return std::nullopt;
}

bool IsAscInput(const InputOptions& input) {
    return !input.Import.isEmpty();
}

bool LoadAscDesign(const InputOptions& input, TGem& gem) {
    if (!gem.ReadAsc(LocalPath(input.Path)) || !gem.ImportAsc(input.Import == "crown" ? 'c' : 'p')) {
        PrintModelMessage(gem.LastError.Message);
        return false;
    }
    gem.Recompute();
    return true;
}

bool KnownOutputFormat(const QString& path) {
    return HasSuffix(path, "lfx") || HasSuffix(path, "asc") || HasSuffix(path, "otl");
}

int WriteOutput(TGem& gem, const QString& path) {
    const std::string name = LocalPath(path);
    if (HasSuffix(path, "asc")) {
        if (gem.WriteAsc(name)) return ExitOk;
        PrintModelMessage(gem.LastError.Message);
        return ExitFileError;
    }
    if (HasSuffix(path, "otl")) {
        if (gem.SaveOutline(name)) return ExitOk;
        PrintModelMessage(gem.LastError.Message);
        return ExitFileError;
    }
    // The design file records its own name, in Latin-1 like all its text.
    if (gem.WriteDesign(name, TGem::FileMode::Save,
                        QFileInfo(path).completeBaseName().toLatin1().toStdString()))
        return ExitOk;
    PrintModelMessage(gem.LastError.Message);
    return ExitFileError;
}

namespace {
const char* const OutputFormats =
    "Output formats by extension: .lfx (design file), .asc (ASC export of the half "
    "design), .otl (girdle outline).";

// Reads IN (with its input options) for a command that writes OUT; answers the exit code to stop with.
std::optional<int> LoadInputAndCheckOutput(QCommandLineParser& parser, const QStringList& arguments,
                                           const QString& description, TGem& gem, QString& out) {
    QStringList values;
    AddInputOptions(parser);
    if (auto stop = ParseArguments(parser, arguments, {"IN", "OUT"}, description, values)) return stop;
    const QString subcommand = arguments.value(1);
    InputOptions input;
    if (auto stop = TakeInputOptions(parser, subcommand, values[0], input)) return stop;
    out = values[1];
    if (!KnownOutputFormat(out))
        return UsageError(subcommand, QString("cannot write '%1': unknown output format").arg(out));
    if (!LoadDesign(input, gem)) return ExitFileError;
    return std::nullopt;
}

int RunPreform(const QStringList& arguments) {
    QCommandLineParser parser;
    auto design = std::make_unique<TGem>();
    QString out;
    if (auto stop =
            LoadInputAndCheckOutput(parser, arguments,
                                    QString("Makes the CAM preform of the design IN (flatter angles, "
                                            "girdle facets revealed, one face per facet at the girdle, "
                                            "all meeting in one apex) and writes it to OUT. ") +
                                        OutputFormats,
                                    *design, out))
        return *stop;
    design->FlattenForPreform();
    design->Recompute();
    design->RevealGirdleFacets();
    auto preform = std::make_unique<TGem>();
    design->MakePreform(*preform);
    return WriteOutput(*preform, out);
}

struct TransformOption {
    const char* Name;
    const char* ValueName; // nullptr: a switch
    const char* Help;
};

const TransformOption TransformOptions[] = {
    {"round-indices", nullptr, "Round every facet to a whole index and a tenth of a degree."},
    {"rotate", "K", "Turn the design by K index steps (a whole number, may be negative)."},
    {"resize", "F", "Scale the stone by the factor F (> 0)."},
    {"stretch", "S", "Stretch the stone along y by the factor S (> 0); the design loses its symmetry."},
    {"shift", "D", "Move the stone by D along its axis; the girdle plane and girdle facets stay."},
    {"table", "H", "Put the table (crown) or bottom (pavilion) at H from the girdle plane."},
    {"angles", "NEW,OLD", "Change every facet angle so that facets at OLD degrees come to NEW degrees."},
};

std::optional<Real> RealValue(const QString& text) {
    return ReadReal(text.toStdString());
}

// Applies the chosen operation; answers a message when its value is unusable.
QString ApplyTransform(TGem& gem, const QString& name, const QString& value) {
    if (name == "round-indices") {
        gem.RoundIndices();
        return "";
    }
    if (name == "rotate") {
        const auto k = ReadInteger(value.toStdString());
        if (!k) return "--rotate takes a whole number of index steps";
        gem.RotateByIndex(*k);
        return "";
    }
    if (name == "angles") {
        const QStringList pair = value.split(',');
        const auto target = pair.size() == 2 ? RealValue(pair[0]) : std::nullopt;
        const auto source = pair.size() == 2 ? RealValue(pair[1]) : std::nullopt;
        if (!target || !source) return "--angles takes two angles: NEW,OLD";
        if (!gem.ScaleAngles(*target, *source)) return "Angle not found";
        gem.Recompute();
        return "";
    }
    const auto number = RealValue(value);
    if (!number) return QString("--%1 takes a number").arg(name);
    if (name == "resize" && !gem.Resize(*number)) return "--resize takes a factor above 0";
    if (name == "stretch" && !gem.StretchY(*number)) return "--stretch takes a factor above 0";
    if (name == "shift" && !gem.ShiftAlongAxis(*number)) return "--shift takes a finite distance";
    if (name == "table") gem.SetBoundingPlane(*number);
    return "";
}

int RunTransform(const QStringList& arguments) {
    QCommandLineParser parser;
    for (const TransformOption& option : TransformOptions)
        parser.addOption(option.ValueName ? QCommandLineOption(option.Name, option.Help, option.ValueName)
                                          : QCommandLineOption(option.Name, option.Help));
    auto gem = std::make_unique<TGem>();
    QString out;
    if (auto stop = LoadInputAndCheckOutput(
            parser, arguments,
            QString("Applies one whole-design operation to the design IN and writes the result to OUT. ") +
                OutputFormats,
            *gem, out))
        return *stop;

    QStringList chosen; // each time an operation is named, so that a repeated one is refused too
    for (const QString& name : parser.optionNames())
        for (const TransformOption& option : TransformOptions)
            if (name == option.Name) chosen << name;
    if (chosen.size() != 1) return UsageError("transform", "transform expects exactly one operation");
    const QString message = ApplyTransform(*gem, chosen[0], parser.value(chosen[0]));
    if (!message.isEmpty()) return UsageError("transform", message);
    return WriteOutput(*gem, out);
}
} // namespace

const Subcommand ExchangeSubcommands[] = {
    {"preform", "Make the CAM preform of a design (IN OUT)", RunPreform},
    {"transform", "Apply one whole-design operation (IN OUT and one option)", RunTransform},
    {nullptr, nullptr, nullptr},
};
