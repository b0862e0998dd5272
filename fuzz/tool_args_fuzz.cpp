// Feeds arbitrary command lines to lapidraw-tool's argument reader: the input's lines are the
// arguments after the program's name. Besides crashes and undefined behaviour it checks that a command
// line either stops with exit code 0 or 1, or asks for a known command with checked values only.
#include "cli/arguments.h"
#include "fuzz/fuzz_checks.h"
#include "gem/reach.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>
#include <cstdint>
#include <string>

namespace {
bool Finite(Real v) {
    return std::isfinite(v) && std::fabs(v) <= EngineReach;
}

void CheckRequest(const ToolRequest& request, const std::string& line) {
    static const QStringList commands = {"info",      "geometry", "convert", "preform",
                                         "transform", "render",   "rotate"};
    if (!commands.contains(request.Command)) Finding("an unknown command would run", line);
    if (request.Input.Path.isEmpty()) Finding("a command without its input would run", line);
    const QString suffix = QFileInfo(request.Output).suffix().toLower();
    const bool drawing = request.Command == "render" || request.Command == "rotate";
    const bool writes = drawing || request.Command == "convert" || request.Command == "preform" ||
                        request.Command == "transform";
    const QStringList formats = drawing ? QStringList{"png", "svg", "pdf"} : QStringList{"lfx", "asc", "otl"};
    if (writes && !formats.contains(suffix)) Finding("an output of unknown format would be written", line);
    if (request.Width < 1 || request.Height < 1 || 1LL * request.Width * request.Height > 16'000'000)
        Finding("a picture size out of range", line);
    if (!Finite(request.AngleB) || !Finite(request.AngleC) || !Finite(request.Transform.Value) ||
        !Finite(request.Transform.Target) || !Finite(request.Transform.Source))
        Finding("an impossible number would be used", line);
    if (request.Command == "transform" && request.Transform.Operation.isEmpty())
        Finding("a transform without its operation would run", line);
    if ((request.Transform.Operation == "resize" || request.Transform.Operation == "stretch") &&
        !(request.Transform.Value > 0))
        Finding("a factor that is not positive would be used", line);
    if (!request.Input.Import.isEmpty() && request.Input.Import != "crown" &&
        request.Input.Import != "pavilion")
        Finding("an unknown half would be imported", line);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "lapidraw-tool";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    const std::string line(reinterpret_cast<const char*>(data), size);
    QStringList arguments{ToolName};
    arguments += QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())).split('\n');
    ToolRequest request;
    if (const std::optional<int> stop = ParseCommandLine(arguments, request)) {
        if (*stop != ExitOk && *stop != ExitUsage) Finding("a command line stopped with another code", line);
        return 0;
    }
    CheckRequest(request, line);
    return 0;
}
