// lapidraw-tool: reads, inspects and converts designs on the command line.
#include "cli/tool.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// Every subcommand group adds its table here.
std::vector<const Subcommand*> AllSubcommands() {
    std::vector<const Subcommand*> all;
    for (const Subcommand* table :
         {DesignSubcommands, ConvertSubcommands, ExchangeSubcommands, RenderSubcommands, PrintSubcommands})
        for (const Subcommand* s = table; s->Name != nullptr; ++s)
            all.push_back(s);
    return all;
}

void PrintHelp() {
    std::printf("Usage: %s <command> [options] [arguments]\n\n"
                "Reads, inspects, converts and transforms faceted-gem designs (.lfx files, and ASC files\n"
                "with --import crown or --import pavilion).\n\n"
                "Commands:\n",
                ToolName);
    for (const Subcommand* s : AllSubcommands())
        std::printf("  %-10s %s\n", s->Name, s->Summary);
    std::printf("\nOptions:\n"
                "  -h, --help     Show this help; '%s <command> --help' shows a command's own.\n"
                "  -v, --version  Show the version.\n\n"
                "Exit codes: 0 success, 1 wrong arguments, 2 a file could not be read or written.\n",
                ToolName);
}
} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs fonts, and fonts need a GUI application: headless unless a platform is asked for.
    const bool drawing =
        argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "rotate") == 0 ||
                     std::strcmp(argv[1], "print") == 0);
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (drawing) qInstallMessageHandler(QuietQtNotes);
    const std::unique_ptr<QCoreApplication> application =
        drawing ? std::make_unique<QGuiApplication>(argc, argv)
                : std::make_unique<QCoreApplication>(argc, argv);
    // The application takes the user's locale; numbers in JSON and in files always use a point.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(ToolName);
    QCoreApplication::setApplicationVersion(LAPIDRAW_VERSION);
    const QStringList arguments = QCoreApplication::arguments();

    const QString first = arguments.value(1);
    if (first.isEmpty()) return UsageError("", "no command given");
    if (first == "-h" || first == "--help" || first == "help") {
        PrintHelp();
        return ExitOk;
    }
    if (first == "-v" || first == "--version") {
        std::printf("%s %s\n", ToolName, LAPIDRAW_VERSION);
        return ExitOk;
    }
    for (const Subcommand* s : AllSubcommands())
        if (first == s->Name) return s->Run(arguments);
    return UsageError("", QString("unknown command '%1'").arg(first));
}
