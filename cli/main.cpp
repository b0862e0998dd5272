// lapidraw-tool: reads, inspects and converts designs on the command line.
#include "cli/tool.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <clocale>
#include <cstring>
#include <memory>

namespace {
struct CommandRun {
    const char* Name;
    int (*Run)(const ToolRequest& request);
};

const CommandRun Runs[] = {
    {"info", RunInfo},           {"geometry", RunGeometry},         {"convert", RunConvert},
    {"preform", RunPreform},     {"transform", RunTransform},       {"render", RunRender},
    {"rotate", RunRotate},       {"listing", RunListing},           {"print", RunPrint},
    {"stone", RunStone},         {"diagram", RunDiagram},           {"stone-geometry", RunStoneGeometry},
    {"materials", RunMaterials}, {"instructions", RunInstructions}, {"optics", RunOptics},
    {"library", RunLibrary},     {"export3d", RunExport3d},         {"outline", RunOutline},
};
} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs fonts, and fonts need a GUI application: headless unless a platform is asked for.
    const bool drawing =
        argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "rotate") == 0 ||
                     std::strcmp(argv[1], "print") == 0 || std::strcmp(argv[1], "diagram") == 0 ||
                     std::strcmp(argv[1], "optics") == 0);
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (drawing) qInstallMessageHandler(QuietQtNotes);
    const std::unique_ptr<QCoreApplication> application =
        drawing ? std::make_unique<QGuiApplication>(argc, argv)
                : std::make_unique<QCoreApplication>(argc, argv);
    // The application takes the user's locale; numbers in JSON and in files always use a point.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(ToolName);
    QCoreApplication::setApplicationVersion(LAPIDRAW_VERSION);
    ToolRequest request;
    if (auto stop = ParseCommandLine(QCoreApplication::arguments(), request)) return *stop;
    try {
        for (const CommandRun& command : Runs)
            if (request.Command == command.Name) return command.Run(request);
    } catch (const RangeError& error) { // the design does not fit the model's tables or reach
        PrintError(error.what());
        return ExitFileError;
    }
    return UsageError("", QString("unknown command '%1'").arg(request.Command));
}
