#include "cli/arguments.h"

#include "gem/numread.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {
constexpr int LargestSide = 20000;
constexpr long long LargestArea = 16'000'000; // pixels: a picture in memory stays below 64 MB
const char* const ImportOption = "import";
const char* const OutputFormats =
    "Output formats by extension: .lfx (design file), .asc (ASC export of the half "
    "design), .otl (girdle outline).";

bool HasSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

bool IsDesignOutput(const QString& path) {
    return HasSuffix(path, "lfx") || HasSuffix(path, "asc") || HasSuffix(path, "otl");
}

bool IsPictureOutput(const QString& path) {
    return HasSuffix(path, "png") || HasSuffix(path, "svg") || HasSuffix(path, "pdf") ||
           HasSuffix(path, "emf");
}

// Parses a command's arguments (options added to the parser beforehand) with its own --help.
// `positionals` names the positional arguments, all required; on success `values` holds them.
std::optional<int> ParseArguments(QCommandLineParser& parser, const QStringList& arguments,
                                  const QStringList& positionals, const QString& description,
                                  QStringList& values) {
    const QString subcommand = arguments.value(1);
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    for (const QString& name : positionals)
        parser.addPositionalArgument(name, "", name);
    if (!parser.parse(arguments)) return UsageError(subcommand, parser.errorText());
    if (parser.isSet(help)) {
        // Qt's usage line names the program by the path it was started with: show the command instead.
        QString text = parser.helpText();
        text.replace(0, text.indexOf('\n'),
                     QString("Usage: %1 %2 [options] %3").arg(ToolName, subcommand, positionals.join(' ')));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return ExitOk;
    }
    values = parser.positionalArguments().mid(1);
    if (values.size() != positionals.size())
        return UsageError(subcommand,
                          QString("%1 expects %2: %3")
                              .arg(subcommand)
                              .arg(positionals.size() == 1 ? "one argument"
                                                           : QString("%1 arguments").arg(positionals.size()))
                              .arg(positionals.join(' ')));
    if (values.contains(QString())) return UsageError(subcommand, "an empty argument names no file");
    return std::nullopt;
}

void AddInputOptions(QCommandLineParser& parser) {
    parser.addOption(
        {ImportOption, "Import an ASC file's crown or pavilion (required for .asc input).", "half"});
}

// The input design and its options, checked against the input's name.
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

// FILE and its input options (the command's own options added to the parser beforehand): info,
// geometry, listing, and the drawing and printing commands.
std::optional<int> ParseFile(QCommandLineParser& parser, const QStringList& arguments,
                             const QString& description, ToolRequest& request) {
    QStringList values;
    AddInputOptions(parser);
    if (auto stop = ParseArguments(parser, arguments, {"FILE"}, description, values)) return stop;
    return TakeInputOptions(parser, request.Command, values[0], request.Input);
}

// IN and its input options, and OUT in a format by its extension: convert, preform and transform.
std::optional<int> ParseConversion(QCommandLineParser& parser, const QStringList& arguments,
                                   const QString& description, ToolRequest& request) {
    QStringList values;
    AddInputOptions(parser);
    if (auto stop =
            ParseArguments(parser, arguments, {"IN", "OUT"}, description + " " + OutputFormats, values))
        return stop;
    if (auto stop = TakeInputOptions(parser, request.Command, values[0], request.Input)) return stop;
    request.Output = values[1];
    if (!IsDesignOutput(request.Output))
        return UsageError(request.Command,
                          QString("cannot write '%1': unknown output format").arg(request.Output));
    return std::nullopt;
}

// FILE -o OUT [--size WxH] and its input options: render and rotate.
std::optional<int> ParseDrawing(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest& request) {
    const QString subcommand = request.Command;
    const QCommandLineOption output({"o", "output"}, "The picture to write: .png, .svg, .pdf or .emf.",
                                    "OUT");
    const QCommandLineOption size("size", "Client area in pixels (default 800x600).", "WIDTHxHEIGHT");
    parser.addOption(output);
    parser.addOption(size);
    if (auto stop = ParseFile(parser, arguments, description, request)) return stop;
    request.Output = parser.value(output);
    if (request.Output.isEmpty()) return UsageError(subcommand, "no output file given (-o OUT)");
    if (!IsPictureOutput(request.Output))
        return UsageError(
            subcommand,
            QString("cannot write '%1': unknown output format (.png, .svg, .pdf, .emf)").arg(request.Output));
    static const QRegularExpression pattern("^(\\d{1,5})x(\\d{1,5})$");
    const QRegularExpressionMatch match = pattern.match(parser.value(size));
    const int width = match.captured(1).toInt(), height = match.captured(2).toInt();
    const bool sizeFits = match.hasMatch() && width > 0 && height > 0 && width <= LargestSide &&
                          height <= LargestSide && static_cast<long long>(width) * height <= LargestArea;
    if (parser.isSet(size) && !sizeFits)
        return UsageError(subcommand,
                          QString("bad size '%1' (WIDTHxHEIGHT, 1 to %2 pixels each, %3 million in all)")
                              .arg(parser.value(size))
                              .arg(LargestSide)
                              .arg(LargestArea / 1'000'000));
    if (parser.isSet(size)) {
        request.Width = width;
        request.Height = height;
    }
    return std::nullopt;
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

// The operation's value; answers what is wrong with it, or nothing.
QString TakeTransformValue(const QString& name, const QString& value, TransformRequest& transform) {
    transform.Operation = name;
    if (name == "round-indices") return "";
    if (name == "rotate") {
        const auto steps = ReadInteger(value.toStdString());
        if (!steps) return "--rotate takes a whole number of index steps";
        transform.Steps = *steps;
        return "";
    }
    if (name == "angles") {
        const QStringList pair = value.split(',');
        const auto target = pair.size() == 2 ? ReadReal(pair[0].toStdString()) : std::nullopt;
        const auto source = pair.size() == 2 ? ReadReal(pair[1].toStdString()) : std::nullopt;
        if (!target || !source) return "--angles takes two angles: NEW,OLD";
        transform.Target = *target;
        transform.Source = *source;
        return "";
    }
    const auto number = ReadReal(value.toStdString());
    if (!number) return QString("--%1 takes a number").arg(name);
    if ((name == "resize" || name == "stretch") && !(*number > 0))
        return QString("--%1 takes a factor above 0").arg(name);
    transform.Value = *number;
    return "";
}

std::optional<int> ParseTransform(QCommandLineParser& parser, const QStringList& arguments,
                                  const QString& description, ToolRequest& request) {
    for (const TransformOption& option : TransformOptions)
        parser.addOption(option.ValueName ? QCommandLineOption(option.Name, option.Help, option.ValueName)
                                          : QCommandLineOption(option.Name, option.Help));
    if (auto stop = ParseConversion(parser, arguments, description, request)) return stop;
    QStringList chosen; // each time an operation is named, so that a repeated one is refused too
    for (const QString& name : parser.optionNames())
        for (const TransformOption& option : TransformOptions)
            if (name == option.Name) chosen << name;
    if (chosen.size() != 1) return UsageError("transform", "transform expects exactly one operation");
    const QString message = TakeTransformValue(chosen[0], parser.value(chosen[0]), request.Transform);
    if (!message.isEmpty()) return UsageError("transform", message);
    return std::nullopt;
}

std::optional<int> ParseRotate(QCommandLineParser& parser, const QStringList& arguments,
                               const QString& description, ToolRequest& request) {
    const QCommandLineOption angles("angles", "Rotation angles B and C in degrees.", "B,C");
    parser.addOption(angles);
    if (auto stop = ParseDrawing(parser, arguments, description, request)) return stop;
    if (!parser.isSet(angles)) return UsageError("rotate", "no angles given (--angles B,C)");
    const QStringList pair = parser.value(angles).split(',');
    const auto b = pair.size() == 2 ? ReadReal(pair[0].toStdString()) : std::nullopt;
    const auto c = pair.size() == 2 ? ReadReal(pair[1].toStdString()) : std::nullopt;
    if (!b || !c)
        return UsageError("rotate", QString("bad angles '%1' (B,C in degrees)").arg(parser.value(angles)));
    request.AngleB = *b;
    request.AngleC = *c;
    return std::nullopt;
}

std::optional<int> ParsePrint(QCommandLineParser& parser, const QStringList& arguments,
                              const QString& description, ToolRequest& request) {
    const QCommandLineOption output({"o", "output"}, "The PDF file to write.", "OUT");
    const QCommandLineOption fullPage("full-page",
                                      "Print the full page instead of the design on half a page.");
    const QCommandLineOption paper("paper", "Paper size: A4 (default) or Letter.", "SIZE", "A4");
    parser.addOptions({output, fullPage, paper});
    if (auto stop = ParseFile(parser, arguments, description, request)) return stop;
    request.Output = parser.value(output);
    if (request.Output.isEmpty()) return UsageError("print", "no output file given (-o OUT)");
    if (!HasSuffix(request.Output, "pdf"))
        return UsageError("print",
                          QString("cannot write '%1': the output is a PDF file (.pdf)").arg(request.Output));
    const QString paperName = parser.value(paper).toLower();
    if (paperName != "a4" && paperName != "letter")
        return UsageError("print", QString("unknown paper '%1' (A4 or Letter)").arg(parser.value(paper)));
    request.FullPage = parser.isSet(fullPage);
    request.LetterPaper = paperName == "letter";
    return std::nullopt;
}

const char* const LibraryActions[][2] = {
    {"index", "DIR... : index the design files (.asc, .lfx) of the folders"},
    {"search", "[QUERY...] : list the designs that match the options and the query words"},
    {"show", "FILE : everything the library holds about the design of FILE"},
};

void PrintLibraryHelp() {
    std::printf("Usage: %s library <index|search|show> [options] [arguments]\n\n", ToolName);
    for (const auto& action : LibraryActions)
        std::printf("  %-7s %s\n", action[0], action[1]);
    std::printf("\n'%s library ACTION --help' shows an action's options.\n", ToolName);
}

// The search options in the order given; each is one term of the query language.
QString TakeSearchTerms(const QCommandLineParser& parser, const QStringList& words, LibraryQuery& query) {
    std::string fault = ApplyQueryText(query, words.join(' ').toStdString());
    std::map<QString, int> seen; // a repeated option's values come in order
    for (const QString& name : parser.optionNames()) {
        if (name == "db" || name == "json" || !fault.empty()) continue;
        fault = ApplyTerm(query, name.toStdString(), parser.values(name).value(seen[name]++).toStdString());
    }
    return QString::fromStdString(fault);
}

std::optional<int> ParseLibrary(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest& request) {
    const QString action = arguments.value(2);
    if (action == "-h" || action == "--help") {
        PrintLibraryHelp();
        return ExitOk;
    }
    const auto known = std::find_if(std::begin(LibraryActions), std::end(LibraryActions),
                                    [&](const auto& a) { return action == a[0]; });
    if (known == std::end(LibraryActions))
        return UsageError("library", action.isEmpty() ? QString("library expects index, search or show")
                                                      : QString("unknown library action '%1'").arg(action));
    LibraryRequest& library = request.Library;
    library.Action = action;
    const QString command = "library " + action;
    parser.setApplicationDescription(description + " " + (*known)[1]);
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOption({"db",
                      "The library's database (default: the lapidraw folder under $XDG_DATA_HOME, else "
                      "~/.local/share).",
                      "FILE"});
    if (action == "index")
        parser.addOption(
            {"rebuild", "Start the database afresh (when it is damaged or of a newer version)."});
    else
        parser.addOption({"json", "Print JSON."});
    if (action == "search") {
        for (const FigureKey& f : FigureKeys)
            parser.addOption({f.Key, f.Help, f.Whole ? "N|A-B" : "X|A-B"});
        for (const TermKey& t : TermKeys)
            parser.addOption({t.Key, t.Help, t.ValueName});
    }
    QStringList rest = arguments;
    rest.removeAt(1); // the parser sees the action as the first argument
    if (!parser.parse(rest)) return UsageError(command, parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        const char* positional = action == "index" ? "DIR..." : action == "show" ? "FILE" : "[QUERY...]";
        text.replace(0, text.indexOf('\n'),
                     QString("Usage: %1 %2 [options] %3").arg(ToolName, command, positional));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return ExitOk;
    }
    const QStringList values = parser.positionalArguments().mid(1);
    library.Database = parser.value("db");
    library.Json = action != "index" && parser.isSet("json");
    library.Rebuild = action == "index" && parser.isSet("rebuild");
    if (action == "index") {
        if (values.isEmpty()) return UsageError(command, "library index expects one folder or more: DIR...");
        library.Folders = values;
    } else if (action == "show") {
        if (values.size() != 1) return UsageError(command, "library show expects one argument: FILE");
        library.File = values[0];
    } else {
        const QString fault = TakeSearchTerms(parser, values, library.Query);
        if (!fault.isEmpty()) return UsageError(command, fault);
    }
    return std::nullopt;
}

// A command: its name, its line in --help, the description of its own --help, and its parser, which
// adds the command's options to a fresh parser and reads the arguments into the request.
struct Command {
    const char* Name;
    const char* Summary;
    const char* Description;
    std::optional<int> (*Parse)(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest& request);
};

const Command Commands[] = {
    {"info", "Print a design's summary as JSON",
     "Prints a design's symmetry, counts, dimensions, volume, proportion texts, message lines and text "
     "lines as one JSON object.",
     ParseFile},
    {"geometry", "Print a design's points, edges and facets as JSON",
     "Prints a design's corner points, edges and facets (plane, index, angle, group, corners) as one JSON "
     "object.",
     ParseFile},
    {"convert", "Read a design and write it (IN OUT)",
     "Reads the design IN (an ASC file with --import crown|pavilion) and writes it to OUT.", ParseConversion},
    {"preform", "Make the CAM preform of a design (IN OUT)",
     "Makes the CAM preform of the design IN (flatter angles, girdle facets revealed, one face per facet at "
     "the girdle, all meeting in one apex) and writes it to OUT.",
     ParseConversion},
    {"transform", "Apply one whole-design operation (IN OUT and one option)",
     "Applies one whole-design operation to the design IN and writes the result to OUT.", ParseTransform},
    {"render", "Draw the design sheet to PNG, SVG, PDF or EMF (FILE -o OUT [--size WxH])",
     "Draws the design sheet of FILE as the main window shows it in a client area of the given size, into "
     "OUT (.png, .svg, .pdf or .emf).",
     ParseDrawing},
    {"rotate", "Draw the freely rotated stone (FILE -o OUT --angles B,C)",
     "Draws the stone of FILE freely rotated by the angles B (up and down keys) and C (left and right "
     "keys), hidden faces left out, into OUT.",
     ParseRotate},
    {"listing", "Write the facet listing as the printer gets it (FILE)",
     "Writes the facet listing of FILE to standard output exactly as it is sent to the printer: pages of 50 "
     "facets, CR LF line ends, a form feed before every page after the first.",
     ParseFile},
    {"print", "Print the design sheet into a PDF file (FILE -o OUT.pdf [--full-page] [--paper A4|Letter])",
     "Prints the design sheet of FILE as the print commands of the window do (a pavilion in the upper half "
     "of the page, a crown in the lower half), into the PDF file OUT.",
     ParsePrint},
    {"library", "Index design folders and search them (index DIR..., search, show FILE)",
     "The design library: an index of the designs in folder trees, searched by text, shape and figures.",
     ParseLibrary},
};

void PrintHelp() {
    std::printf("Usage: %s <command> [options] [arguments]\n\n"
                "Reads, inspects, converts and transforms faceted-gem designs (.lfx files, and ASC files\n"
                "with --import crown or --import pavilion).\n\n"
                "Commands:\n",
                ToolName);
    for (const Command& command : Commands)
        std::printf("  %-10s %s\n", command.Name, command.Summary);
    std::printf("\nOptions:\n"
                "  -h, --help     Show this help; '%s <command> --help' shows a command's own.\n"
                "  -v, --version  Show the version.\n\n"
                "Exit codes: 0 success, 1 wrong arguments, 2 a file could not be read or written.\n",
                ToolName);
}
} // namespace

void PrintError(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", ToolName, text.toLocal8Bit().constData());
}

int UsageError(const QString& subcommand, const QString& text) {
    PrintError(text);
    const QString help = subcommand.isEmpty() ? QString("--help") : subcommand + " --help";
    std::fprintf(stderr, "Try '%s %s'.\n", ToolName, help.toLocal8Bit().constData());
    return ExitUsage;
}

std::optional<int> ParseCommandLine(const QStringList& arguments, ToolRequest& request) {
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
    for (const Command& command : Commands) {
        if (first != command.Name) continue;
        request = ToolRequest{};
        request.Command = first;
        QCommandLineParser parser;
        return command.Parse(parser, arguments, command.Description, request);
    }
    return UsageError("", QString("unknown command '%1'").arg(first));
}
