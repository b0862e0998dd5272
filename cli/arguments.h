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
    QString Command;               // info, geometry, convert, ..., print or library
    InputOptions Input;            // the design to read
    QString Output;                // OUT, or the picture of -o
    int Width = 800, Height = 600; // render and rotate: the client area in pixels
    Real AngleB = 0, AngleC = 0;   // rotate: the turn, in degrees
    TransformRequest Transform;    // transform
    bool FullPage = false;         // print: the full page instead of the design on half a page
    bool LetterPaper = false;      // print: Letter instead of A4
    LibraryRequest Library;        // library
};

// Reads the whole command line, the program's name first. Answers the exit code to stop with (after
// --help, --version or a usage error, whose text it prints), or nothing when `request` is to be run.
std::optional<int> ParseCommandLine(const QStringList& arguments, ToolRequest& request);

// "lapidraw-tool: " + text on standard error, one line.
void PrintError(const QString& text);
// A usage error: the message, a hint at --help, and ExitUsage.
int UsageError(const QString& subcommand, const QString& text);
