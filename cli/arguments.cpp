#include "cli/arguments.h"
#include <algorithm>
#include <map>

#include "gem/gear_conversion.h"
#include "gem/numread.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

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
// `positionals` names the positional arguments, all required but the last `optional` ones; on success
// `values` holds those given.
std::optional<int> ParseArguments(QCommandLineParser& parser, const QStringList& arguments,
                                  const QStringList& positionals, const QString& description,
                                  QStringList& values, int optional = 0) {
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
    if (values.size() > positionals.size() || values.size() < positionals.size() - optional)
        return UsageError(subcommand,
                          QString("%1 expects %2: %3")
                              .arg(subcommand)
                              .arg(positionals.size() == 1 ? "one argument"
                                   : positionals.isEmpty() ? "no arguments"
                                   : optional > 0          ? QString("%1 to %2 arguments")
                                                        .arg(positionals.size() - optional)
                                                        .arg(positionals.size())
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
// convert --stone takes IN as a whole stone and writes it as one ASC file.
std::optional<int> ParseConversion(QCommandLineParser& parser, const QStringList& arguments,
                                   const QString& description, ToolRequest& request) {
    QStringList values;
    AddInputOptions(parser);
    const bool convert = request.Command == "convert";
    const QCommandLineOption stone("stone",
                                   "Write the whole stone as one ASC file: IN is an ASC file, or a half "
                                   "whose partner is found by the naming rule or given with --partner.");
    const QCommandLineOption partner("partner", "The partner half of IN (with --stone).", "PARTNER");
    if (convert) parser.addOptions({stone, partner});
    if (auto stop =
            ParseArguments(parser, arguments, {"IN", "OUT"}, description + " " + OutputFormats, values))
        return stop;
    if (convert && parser.isSet(stone)) {
        if (parser.isSet(ImportOption))
            return UsageError("convert", "--stone takes both halves: no --import");
        if (!HasSuffix(values[1], "asc"))
            return UsageError("convert",
                              QString("cannot write '%1': a whole stone is written as .asc").arg(values[1]));
        request.Input.Path = values[0];
        request.Output = values[1];
        request.Stone.WholeStone = true;
        request.Stone.Partner = parser.value(partner);
        return std::nullopt;
    }
    if (convert && parser.isSet(partner)) return UsageError("convert", "--partner goes with --stone");
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

std::optional<int> ParseListing(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest& request) {
    const QCommandLineOption instructions("instructions",
                                          "Add the cutting instructions: every tier's meet points.");
    const QCommandLineOption gear("gear", "Add every tier's indices on a gear of N teeth (1 to 400).", "N");
    parser.addOptions({instructions, gear});
    if (auto stop = ParseFile(parser, arguments, description, request)) return stop;
    request.Instructions = parser.isSet(instructions);
    if (parser.isSet(gear)) {
        const auto teeth = ReadInteger(parser.value(gear).toStdString());
        if (!teeth || *teeth < MinGearTeeth || *teeth > MaxGearTeeth)
            return UsageError("listing",
                              QString("--gear takes 1 to 400 teeth, not '%1'").arg(parser.value(gear)));
        request.Gear = *teeth;
    }
    return std::nullopt;
}

// FILE [PARTNER] [--json]: one half (a design file, or an ASC half with --import), or the whole stone
// of an ASC file or of a design file and its partner.
std::optional<int> ParseInstructions(QCommandLineParser& parser, const QStringList& arguments,
                                     const QString& description, ToolRequest& request) {
    const QCommandLineOption json("json", "Print the instructions as one JSON array.");
    const QCommandLineOption half(ImportOption,
                                  "Take one half of an ASC file: crown or pavilion (else both).", "half");
    parser.addOptions({json, half});
    QStringList values;
    if (auto stop = ParseArguments(parser, arguments, {"FILE", "PARTNER"}, description, values, 1))
        return stop;
    request.Json = parser.isSet(json);
    const bool asc = HasSuffix(values[0], "asc");
    request.Stone.WholeStone = values.size() > 1 || (asc && !parser.isSet(ImportOption));
    if (!request.Stone.WholeStone) return TakeInputOptions(parser, request.Command, values[0], request.Input);
    if (parser.isSet(ImportOption))
        return UsageError(request.Command, "--import takes one half: no PARTNER is taken with it");
    if (asc && values.size() > 1)
        return UsageError(request.Command, "an ASC file holds both halves: no PARTNER is taken with it");
    request.Input.Path = values[0];
    request.Stone.Partner = values.value(1);
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

// A positive finite number of an option, or the message why not.
QString PositiveNumber(const QString& name, const QString& text, std::optional<Real>& value) {
    const auto number = ReadReal(text.toStdString());
    if (!number || !(*number > 0)) return QString("--%1 takes a positive number, not '%2'").arg(name, text);
    value = number;
    return "";
}

// FILE [PARTNER]: an ASC file, or a half and its partner.
std::optional<int> ParseStoneFiles(QCommandLineParser& parser, const QStringList& arguments,
                                   const QString& description, ToolRequest& request) {
    QStringList values;
    if (auto stop = ParseArguments(parser, arguments, {"FILE", "PARTNER"}, description, values, 1))
        return stop;
    request.Input.Path = values[0];
    request.Stone.Partner = values.value(1);
    if (HasSuffix(values[0], "asc") && values.size() > 1)
        return UsageError(request.Command, "an ASC file holds both halves: no PARTNER is taken with it");
    return std::nullopt;
}

// FILE [PARTNER] [--width-mm W | --carats C] [--material NAME].
std::optional<int> ParseStone(QCommandLineParser& parser, const QStringList& arguments,
                              const QString& description, ToolRequest& request) {
    const QCommandLineOption width("width-mm", "Cut the stone W millimetres wide and give its weight.", "W");
    const QCommandLineOption carats("carats", "Give the width at which the stone weighs C carats.", "C");
    const QCommandLineOption material("material", "The material (see the materials command; default Quartz).",
                                      "NAME", "Quartz");
    parser.addOptions({width, carats, material});
    if (auto stop = ParseStoneFiles(parser, arguments, description, request)) return stop;
    if (parser.isSet(width) && parser.isSet(carats))
        return UsageError(request.Command, "give either --width-mm or --carats, not both");
    QString message;
    if (parser.isSet(width)) message = PositiveNumber("width-mm", parser.value(width), request.Stone.WidthMm);
    if (parser.isSet(carats)) message = PositiveNumber("carats", parser.value(carats), request.Stone.Carats);
    if (!message.isEmpty()) return UsageError(request.Command, message);
    request.Stone.Material = parser.value(material);
    return std::nullopt;
}

// FILE [PARTNER] -o OUT [--paper A4|Letter] and the weight options of stone.
std::optional<int> ParseDiagram(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest& request) {
    const QCommandLineOption output({"o", "output"}, "The diagram to write: .pdf, .svg or .png.", "OUT");
    const QCommandLineOption paper("paper", "Paper size: A4 (default) or Letter.", "SIZE", "A4");
    parser.addOptions({output, paper});
    if (auto stop = ParseStone(parser, arguments, description, request)) return stop;
    request.Output = parser.value(output);
    if (request.Output.isEmpty()) return UsageError("diagram", "no output file given (-o OUT)");
    if (!HasSuffix(request.Output, "pdf") && !HasSuffix(request.Output, "svg") &&
        !HasSuffix(request.Output, "png"))
        return UsageError(
            "diagram",
            QString("cannot write '%1': unknown output format (.pdf, .svg, .png)").arg(request.Output));
    const QString paperName = parser.value(paper).toLower();
    if (paperName != "a4" && paperName != "letter")
        return UsageError("diagram", QString("unknown paper '%1' (A4 or Letter)").arg(parser.value(paper)));
    request.LetterPaper = paperName == "letter";
    return std::nullopt;
}

// FILE [PARTNER] -o OUT.stl|obj|3mf|step (--width-mm W | --carats C --material NAME)
// [--min-girdle-mm G] [--half crown|pavilion].
std::optional<int> ParseExport3d(QCommandLineParser& parser, const QStringList& arguments,
                                 const QString& description, ToolRequest& request) {
    const QCommandLineOption output({"o", "output"}, "The 3D file to write: .stl, .obj, .3mf or .step.",
                                    "OUT");
    const QCommandLineOption minGirdle("min-girdle-mm", "Thicken the girdle to at least G millimetres.", "G");
    const QCommandLineOption half("half", "Only the crown or the pavilion, closed by the girdle plane.",
                                  "HALF");
    parser.addOptions({output, minGirdle, half});
    if (auto stop = ParseStone(parser, arguments, description, request)) return stop;
    request.Output = parser.value(output);
    if (request.Output.isEmpty()) return UsageError(request.Command, "no output file given (-o OUT)");
    if (!HasSuffix(request.Output, "stl") && !HasSuffix(request.Output, "obj") &&
        !HasSuffix(request.Output, "3mf") && !HasSuffix(request.Output, "step") &&
        !HasSuffix(request.Output, "stp"))
        return UsageError(
            request.Command,
            QString("cannot write '%1': unknown 3D format (.stl, .obj, .3mf, .step)").arg(request.Output));
    if (!request.Stone.WidthMm && !request.Stone.Carats)
        return UsageError(request.Command,
                          "no size given (--width-mm W, or --carats C with --material NAME)");
    if (parser.isSet(minGirdle)) {
        const auto number = ReadReal(parser.value(minGirdle).toStdString());
        if (!number || !(*number >= 0))
            return UsageError(request.Command,
                              QString("--min-girdle-mm takes a number of millimetres, 0 or more, "
                                      "not '%1'")
                                  .arg(parser.value(minGirdle)));
        request.Export.MinGirdleMm = *number;
    }
    request.Export.Half = parser.value(half).toLower();
    if (parser.isSet(half) && request.Export.Half != "crown" && request.Export.Half != "pavilion")
        return UsageError(request.Command,
                          QString("--half takes crown or pavilion, not '%1'").arg(parser.value(half)));
    return std::nullopt;
}

// FILE [PARTNER] -o OUT.svg|dxf --width-mm W.
std::optional<int> ParseOutline(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest& request) {
    const QCommandLineOption output({"o", "output"}, "The outline to write: .svg or .dxf.", "OUT");
    const QCommandLineOption width("width-mm", "The stone's width in millimetres.", "W");
    parser.addOptions({output, width});
    if (auto stop = ParseStoneFiles(parser, arguments, description, request)) return stop;
    request.Output = parser.value(output);
    if (request.Output.isEmpty()) return UsageError(request.Command, "no output file given (-o OUT)");
    if (!HasSuffix(request.Output, "svg") && !HasSuffix(request.Output, "dxf"))
        return UsageError(
            request.Command,
            QString("cannot write '%1': unknown outline format (.svg, .dxf)").arg(request.Output));
    if (!parser.isSet(width)) return UsageError(request.Command, "no size given (--width-mm W)");
    const QString message = PositiveNumber("width-mm", parser.value(width), request.Stone.WidthMm);
    if (!message.isEmpty()) return UsageError(request.Command, message);
    return std::nullopt;
}

std::optional<int> ParseNothing(QCommandLineParser& parser, const QStringList& arguments,
                                const QString& description, ToolRequest&) {
    QStringList values;
    return ParseArguments(parser, arguments, {}, description, values);
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

// FILE [PARTNER] and the light, viewer and sampling options of the optics command.
std::optional<int> ParseOptics(QCommandLineParser& parser, const QStringList& arguments,
                               const QString& description, ToolRequest& request) {
    OpticsRequest& optics = request.Optics;
    const QCommandLineOption material("material", "The material by name (default quartz).", "NAME");
    const QCommandLineOption index("ri", "A typed refractive index instead of a material.", "N");
    const QCommandLineOption light("light", "The sky of the picture: iso (default) or cos.", "SKY", "iso");
    const QCommandLineOption shadow("head-shadow", "Half-angle of the head shadow in degrees (default 0).",
                                    "DEG");
    const QCommandLineOption eye("eye-distance", "The eye at D stone widths (default: at infinity).", "D");
    const QCommandLineOption tilt("tilt", "Add the figures at 0, T/2 and T degrees of tilt and their mean.",
                                  "T");
    const QCommandLineOption curve("tilt-curve", "Add the tilt curves from -30 to +30 degrees on both axes.");
    const QCommandLineOption rays("rays", "Eye rays for each figure (default 20000).", "N");
    const QCommandLineOption json("json", "Print one JSON object.");
    const QCommandLineOption output({"o", "output"}, "The picture to write: .png or .svg.", "PICTURE");
    const QCommandLineOption picture("picture", "What -o shows: brightness (default), colour or tilt.",
                                     "KIND", "brightness");
    const QCommandLineOption size("size", "The picture's side in pixels (default 400).", "PIXELS");
    parser.addOptions({material, index, light, shadow, eye, tilt, curve, rays, json, output, picture, size});
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument("FILE", "A design file, or an ASC file with both halves.");
    parser.addPositionalArgument("PARTNER", "The design file of the other half.", "[PARTNER]");
    const QString subcommand = request.Command;
    if (!parser.parse(arguments)) return UsageError(subcommand, parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf('\n'),
                     QString("Usage: %1 optics [options] FILE [PARTNER]").arg(ToolName));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return ExitOk;
    }
    const QStringList values = parser.positionalArguments().mid(1);
    if (values.isEmpty() || values.size() > 2) return UsageError(subcommand, "optics expects FILE [PARTNER]");
    if (values.contains(QString())) return UsageError(subcommand, "an empty argument names no file");
    request.Input.Path = values[0];
    optics.Partner = values.value(1);
    if (HasSuffix(values[0], "asc") && values.size() == 2)
        return UsageError(subcommand, "an ASC file holds both halves: no PARTNER");
    auto number = [&](const QCommandLineOption& option, double low, double high, double& value) -> bool {
        if (!parser.isSet(option)) return true;
        const auto read = ReadReal(parser.value(option).toStdString());
        if (!read || !(*read >= low && *read <= high)) return false;
        value = static_cast<double>(*read);
        return true;
    };
    if (parser.isSet(material) && parser.isSet(index))
        return UsageError(subcommand, "give --material or --ri, not both");
    optics.Material = parser.isSet(index)                ? QString()
                      : parser.value(material).isEmpty() ? "quartz"
                                                         : parser.value(material);
    if (!number(index, 1.0001, 5, optics.Index))
        return UsageError(subcommand, "--ri takes an index from 1.0001 to 5");
    const QString sky = parser.value(light).toLower();
    if (sky != "iso" && sky != "cos") return UsageError(subcommand, "--light takes iso or cos");
    optics.CosLight = sky == "cos";
    if (!number(shadow, 0, 89, optics.HeadShadow))
        return UsageError(subcommand, "--head-shadow takes 0 to 89 degrees");
    if (!number(eye, 1, 1e6, optics.EyeDistance))
        return UsageError(subcommand, "--eye-distance takes at least 1 stone width");
    double tiltAngle = 0;
    if (!number(tilt, -60, 60, tiltAngle)) return UsageError(subcommand, "--tilt takes -60 to 60 degrees");
    if (parser.isSet(tilt)) optics.Tilt = tiltAngle;
    optics.TiltCurve = parser.isSet(curve);
    double rayCount = static_cast<double>(optics.Rays);
    if (!number(rays, 100, 1e8, rayCount)) return UsageError(subcommand, "--rays takes 100 to 100000000");
    optics.Rays = static_cast<long long>(rayCount);
    optics.Json = parser.isSet(json);
    request.Output = parser.value(output);
    if (!request.Output.isEmpty() && !HasSuffix(request.Output, "png") && !HasSuffix(request.Output, "svg"))
        return UsageError(subcommand,
                          QString("cannot write '%1': the picture is .png or .svg").arg(request.Output));
    double side = optics.Size;
    if (!number(size, 16, 4000, side)) return UsageError(subcommand, "--size takes 16 to 4000 pixels");
    optics.Size = static_cast<int>(side);
    optics.Picture = parser.value(picture).toLower();
    if (optics.Picture != "brightness" && optics.Picture != "colour" && optics.Picture != "tilt")
        return UsageError(subcommand, "--picture takes brightness, colour or tilt");
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
    {"convert", "Read a design and write it (IN OUT), or a whole stone (--stone IN OUT.asc)",
     "Reads the design IN (an ASC file with --import crown|pavilion) and writes it to OUT; with --stone, "
     "reads both halves of a stone and writes them as one ASC file.",
     ParseConversion},
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
    {"listing", "Write the facet listing as the printer gets it (FILE [--instructions] [--gear N])",
     "Writes the facet listing of FILE to standard output exactly as it is sent to the printer: pages of 50 "
     "facets, CR LF line ends, a form feed before every page after the first; then, when asked, the cutting "
     "instructions and the indices on another gear.",
     ParseListing},
    {"instructions", "Print the cutting instructions with meet points (FILE [PARTNER] [--json])",
     "Prints every tier of FILE in cutting order with its angle, indices and where to stop: the earlier "
     "tiers it meets, a centre point, a level girdle, and whether a later tier cuts the meet away. With "
     "PARTNER, or for an ASC file without --import, the whole stone: the pavilion, then the crown.",
     ParseInstructions},
    {"print", "Print the design sheet into a PDF file (FILE -o OUT.pdf [--full-page] [--paper A4|Letter])",
     "Prints the design sheet of FILE as the print commands of the window do (a pavilion in the upper half "
     "of the page, a crown in the lower half), into the PDF file OUT.",
     ParsePrint},
    {"stone", "Print a whole stone's figures, weight and girdle findings (FILE [PARTNER])",
     "Puts the crown and the pavilion of FILE together (an ASC file, or a half whose partner is found by the "
     "naming rule or given as PARTNER) and prints the whole stone's proportions, face, edge and corner "
     "counts, "
     "the girdle findings and, with --width-mm or --carats, its weight or size, as one JSON object.",
     ParseStone},
    {"stone-geometry", "Print a whole stone's corners, edges and faces as JSON (FILE [PARTNER])",
     "Prints the whole stone's corners, edges and faces (plane, half, facet, facet group, tier) as one JSON "
     "object.",
     ParseStoneFiles},
    {"diagram", "Draw the faceting diagram to PDF, SVG or PNG (FILE [PARTNER] -o OUT)",
     "Draws the faceting diagram of the whole stone of FILE (and PARTNER) on one A4 or Letter page: the "
     "crown "
     "from above, the pavilion from below, side and end elevations, the figures and every tier in cutting "
     "order (pavilion, then crown) with its angle, indices and cutting instruction; --width-mm or --carats "
     "with --material add the weight.",
     ParseDiagram},
    {"export3d", "Write the stone as a 3D file: STL, OBJ, 3MF or STEP (FILE [PARTNER] -o OUT)",
     "Writes the whole stone of FILE (and PARTNER), or with --half one half closed by the girdle plane, in "
     "millimetres: binary STL, OBJ with a material file (a group per tier), 3MF or STEP (a closed solid of "
     "planar faces). The size comes from --width-mm, or --carats with --material; --min-girdle-mm thickens "
     "a thinner girdle symmetrically about the girdle plane. Prints a JSON note of what was written.",
     ParseExport3d},
    {"outline", "Write the girdle outline as SVG or DXF (FILE [PARTNER] -o OUT --width-mm W)",
     "Writes the whole stone's section by the girdle plane, seen from above, in millimetres: an SVG picture "
     "or a DXF (R12) drawing with one closed polyline. Prints a JSON note of what was written.",
     ParseOutline},
    {"materials", "List the gem materials with their constants as JSON",
     "Prints the material table: name, specific gravity, refractive index, B-G dispersion and source.",
     ParseNothing},
    {"optics", "Trace the light a stone returns: brightness, windowing, tilt, fire (FILE [PARTNER])",
     "Traces light through the whole stone (an ASC file with both halves, or a crown and a pavilion design "
     "file, or one half closed by the girdle plane) and prints its ISO and COS brightness, windowing, lost "
     "light and fire with their standard errors; with -o also a picture.",
     ParseOptics},
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
        std::printf("  %-14s %s\n", command.Name, command.Summary);
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
