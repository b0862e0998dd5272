// convert: reads a design and writes it in the format that the output name's extension asks for.
#include "cli/tool.h"

#include <QFileInfo>

#include <memory>

namespace {
int RunConvert(const QStringList& arguments) {
    QCommandLineParser parser;
    QStringList values;
    AddInputOptions(parser);
    if (auto stop =
            ParseArguments(parser, arguments, {"IN", "OUT"},
                           "Reads the design IN (an ASC file with --import crown|pavilion) and writes "
                           "it to OUT. Output formats by extension: .lfx (design file), .asc (ASC "
                           "export of the half design), .otl (girdle outline).",
                           values))
        return *stop;
    InputOptions input;
    if (auto stop = TakeInputOptions(parser, "convert", values[0], input)) return *stop;
    if (!KnownOutputFormat(values[1]))
        return UsageError("convert", QString("cannot write '%1': unknown output format").arg(values[1]));

    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(input, *gem)) return ExitFileError;
    return WriteOutput(*gem, values[1]);
}
} // namespace

const Subcommand ConvertSubcommands[] = {
    {"convert", "Read a design and write it (IN OUT)", RunConvert},
    {nullptr, nullptr, nullptr},
};
