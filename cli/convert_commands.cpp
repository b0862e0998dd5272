// convert: reads a design and writes it in the format that the output name's extension asks for.
#include "cli/tool.h"

#include <QFileInfo>

#include <memory>

namespace {
int RunConvert(const QStringList& arguments) {
    QCommandLineParser parser;
    QStringList values;
    if (auto stop = ParseArguments(parser, arguments, {"IN", "OUT"},
                                   "Reads the design IN and writes it to OUT. Output formats by extension: "
                                   ".lfx (design file).",
                                   values))
        return *stop;
    const QFileInfo out(values[1]);
    if (out.suffix().compare("lfx", Qt::CaseInsensitive) != 0)
        return UsageError("convert", QString("cannot write '%1': unknown output format").arg(values[1]));

    auto gem = std::make_unique<TGem>();
    if (!LoadDesign({values[0]}, *gem)) return ExitFileError;
    if (gem->WriteDesign(LocalPath(values[1]), TGem::SaveMode, LocalPath(out.completeBaseName())) != 0) {
        PrintError(QString::fromLocal8Bit(QByteArray::fromStdString(gem->LastFileMessage)).trimmed());
        return ExitFileError;
    }
    return ExitOk;
}
} // namespace

const Subcommand ConvertSubcommands[] = {
    {"convert", "Read a design and write it (IN OUT)", RunConvert},
    {nullptr, nullptr, nullptr},
};
