// The command line of lapidraw-tool: what it asks for, read and checked without reading or writing any
// file, so that every command starts from checked values only.
#pragma once

#include "gem/vector3.h"
#include "library/library_query.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Exit codes of every command.
enum ExitCode : int {
    ExitOk = 0,
    ExitUsage = 1,     // wrong arguments
    ExitFileError = 2, // a file could not be read or written
};

inline constexpr const char* ToolName = "lapidraw-tool";

// How the input design is read: a design file, or a half design imported from an ASC file.
struct InputOptions {
    QString Path;
    QString Import; // "crown" or "pavilion" for an ASC file, else empty
};

// The one whole-design operation of transform, with its checked value.
struct TransformRequest {
    QString Operation;           // the option's name: "round-indices", "rotate", "resize", ...
    std::int32_t Steps = 0;      // rotate: index steps
    Real Value = 0;              // resize, stretch, shift, table
    Real Target = 0, Source = 0; // angles: NEW, OLD
};

// The whole stone: its second half and the weight asked for (stone, stone-geometry, convert --stone).
struct StoneRequest {
    QString Partner;             // PARTNER; empty: found by the naming rule (none for an ASC file)
    std::optional<Real> WidthMm; // --width-mm
    std::optional<Real> Carats;  // --carats
    QString Material = "Quartz"; // --material, a name of the material table
    bool WholeStone = false;     // convert --stone; instructions of both halves
};

// export3d and outline: the options beyond the stone's files and size.
struct ExportRequest {
    Real MinGirdleMm = 0; // --min-girdle-mm
    QString Half;         // --half: "crown" or "pavilion"; empty for the whole stone
};

// What the optics command asks for, checked.
struct OpticsRequest {
    QString Partner;        // the other half's design file, when FILE is one half
    QString Material;       // a name of the material table, or empty with Index set
    double Index = 0;       // a typed refractive index (0: the material's)
    bool CosLight = false;  // the sky of the picture: COS instead of ISO
    double HeadShadow = 0;  // degrees
    double EyeDistance = 0; // stone widths; 0 at infinity
    std::optional<double> Tilt;
    bool TiltCurve = false;
    long long Rays = 20000;
    bool Json = false;
    QString Picture = "brightness"; // brightness, colour or tilt
    int Size = 400;                 // the picture's side in pixels
};

// library index, search and show.
struct LibraryRequest {
    QString Action;       // index, search or show
    QStringList Folders;  // index: the folders
    QString Database;     // --db FILE, empty for the default database
    bool Rebuild = false; // index: start the database afresh
    bool Json = false;    // search, show: JSON output
    LibraryQuery Query;   // search
    QString File;         // show
};

// Everything a command line asks for.
struct ToolRequest {
    QString Command;               // a name of the command table: info, geometry, stone, listing, ...
    InputOptions Input;            // the design to read
    QString Output;                // OUT, or the picture of -o
    int Width = 800, Height = 600; // render and rotate: the client area in pixels
    Real AngleB = 0, AngleC = 0;   // rotate: the turn, in degrees
    TransformRequest Transform;    // transform
    bool FullPage = false;         // print: the full page instead of the design on half a page
    bool LetterPaper = false;      // print: Letter instead of A4
    StoneRequest Stone;            // stone, stone-geometry, convert --stone
    bool Instructions = false;     // listing: the cutting instructions after the facet lines
    int Gear = 0;                  // listing: the indices on a gear of this many teeth (0: none)
    bool Json = false;             // instructions: JSON instead of text
    OpticsRequest Optics;          // optics
    LibraryRequest Library;        // library
    ExportRequest Export;          // export3d, outline
};

// Reads the whole command line, the program's name first. Answers the exit code to stop with (after
// --help, --version or a usage error, whose text it prints), or nothing when `request` is to be run.
std::optional<int> ParseCommandLine(const QStringList& arguments, ToolRequest& request);

// "lapidraw-tool: " + text on standard error, one line.
void PrintError(const QString& text);
// A usage error: the message, a hint at --help, and ExitUsage.
int UsageError(const QString& subcommand, const QString& text);
