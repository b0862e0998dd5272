// The program's main routine: the command line, the application, the desktop services and the window.
#include "app/main_window.h"
#include "dialogs/about_dialog.h"
#include "platform/qt_printing.h"
#include "platform/qt_services.h"
#include "platform/stale_snapshots.h"

#include <QApplication>
#include <QFileInfo>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {
constexpr int ExitUsage = 1;

const char* const Usage = "Usage: lapidraw [OPTION] [DESIGN]\n"
                          "\n"
                          "Designs faceted gemstones. DESIGN names a design file (.lfx) to open at start.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     Show this help and exit.\n"
                          "  -v, --version  Show the version and exit.\n"
                          "  --             Take what follows as the design, even when it starts with '-'.\n";

struct CommandLine {
    std::string Design;            // empty: none
    std::optional<int> ExitStatus; // answered without a window
};

// The options are read before any window (or display) is needed, so that --help works everywhere.
CommandLine ReadCommandLine(int argc, char* argv[]) {
    CommandLine line;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnd && (arg == "-h" || arg == "--help")) {
            std::fputs(Usage, stdout);
            line.ExitStatus = 0;
        } else if (!optionsEnd && (arg == "-v" || arg == "--version")) {
            std::printf("%s\n", ProgramVersionText().c_str());
            line.ExitStatus = 0;
        } else if (!optionsEnd && arg == "--") {
            optionsEnd = true;
            continue;
        } else if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "lapidraw: unknown option %s\n\n%s", arg.c_str(), Usage);
            line.ExitStatus = ExitUsage;
        } else if (line.Design.empty()) {
            line.Design = arg;
        } else {
            std::fprintf(stderr, "lapidraw: one design at a time (%s)\n\n%s", arg.c_str(), Usage);
            line.ExitStatus = ExitUsage;
        }
        if (line.ExitStatus) break;
    }
    return line;
}
} // namespace

int main(int argc, char* argv[]) {
    const CommandLine line = ReadCommandLine(argc, argv);
    if (line.ExitStatus) return *line.ExitStatus;

    QApplication application(argc, argv);
    // Numbers are always written and read with a point, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("Lapidrastor");
    QApplication::setApplicationName("Lapidrastor");
    QApplication::setApplicationVersion(LAPIDRAW_VERSION);

    // Snapshot folders of earlier runs that ended without removing them (a crash) do not pile up.
    RemoveStaleSnapshotFolders(UndoHistory::ParentFolder(), std::filesystem::file_time_type::clock::now());

    QtMessageService messages;
    QtFileDialogService files;
    QtSettingsStore settings;
    QtWindowServices window;
    QtPrinterService printer;
    const Services services{messages, files, settings, window, printer};

    // A design named relative to the shell's folder is kept with its full path, so that the recent
    // list can open it again from anywhere.
    const std::string commandLineFile =
        line.Design.empty() ? ""
                            : QFileInfo(QString::fromLocal8Bit(line.Design)).absoluteFilePath().toStdString();
    Tstartform startform(services, commandLineFile);
    printer.SetDialogParent(&startform);
    startform.show();
    return QApplication::exec();
}
