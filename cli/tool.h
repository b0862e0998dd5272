// Shared parts of lapidraw-tool: exit codes, messages, loading the input design, JSON output.
#pragma once

#include "gem/gem.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

// Exit codes of every subcommand.
enum ExitCode : int {
    ExitOk = 0,
    ExitUsage = 1,     // wrong arguments
    ExitFileError = 2, // a file could not be read or written
};

// One subcommand: its name, a one-line summary for --help, and its entry point. The arguments are
// the whole command line: the program, the subcommand's name, then its own arguments.
struct Subcommand {
    const char* Name;
    const char* Summary;
    int (*Run)(const QStringList& arguments);
};

// The subcommands of each source file, collected by main.
extern const Subcommand DesignSubcommands[];   // info, geometry
extern const Subcommand ConvertSubcommands[];  // convert
extern const Subcommand ExchangeSubcommands[]; // preform, transform
extern const Subcommand RenderSubcommands[];   // render, rotate (need a GUI application for fonts)
extern const Subcommand PrintSubcommands[];    // listing, print (print needs a GUI application)
// Message handler of the drawing subcommands: passes only Qt's critical messages on.
void QuietQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message);
inline constexpr const char* ToolName = "lapidraw-tool";

// "lapidraw-tool: " + text on standard error, one line.
void PrintError(const QString& text);
// The model's message about a file: its own text is plain ASCII, the file's name is as the system
// gave it.
void PrintModelMessage(const std::string& message);
// A usage error: the message, a hint at --help, and ExitUsage.
int UsageError(const QString& subcommand, const QString& text);

// Parses a subcommand's arguments (options added to the parser beforehand) with its own --help.
// `positionals` names the positional arguments, all required; on success `values` holds them.
// Answers nothing to go on, or the exit code to stop with (after --help or a usage error).
std::optional<int> ParseArguments(QCommandLineParser& parser, const QStringList& arguments,
                                  const QStringList& positionals, const QString& description,
                                  QStringList& values);

// How the input design is read. Further kinds of input (such as a half design imported from an ASC
// file with --import crown|pavilion) add their options here and their branch in LoadDesign.
struct InputOptions {
    QString Path;
    QString Import; // "crown" or "pavilion" for an ASC file, else empty
};

// The input options (--import) of commands that read a design, and their check against the input's
// name; answers the exit code to stop with on a usage error.
void AddInputOptions(QCommandLineParser& parser);
std::optional<int> TakeInputOptions(const QCommandLineParser& parser, const QString& subcommand,
                                    const QString& path, InputOptions& input);
bool IsAscInput(const InputOptions& input);
bool LoadAscDesign(const InputOptions& input, TGem& gem);

// Output by the name's extension: .lfx (design file), .asc (ASC export), .otl (girdle outline).
bool KnownOutputFormat(const QString& path);
// Writes the design; ExitOk, or ExitFileError after the message.
int WriteOutput(TGem& gem, const QString& path);

// Reads the input design; on failure prints the reader's message (naming the file, and the line of
// a malformed file) and answers false.
bool LoadDesign(const InputOptions& input, TGem& gem);

// A file name as the operating system takes it.
std::string LocalPath(const QString& path);

// Writes one JSON value at a time; keys keep their order. Text from the model is Latin-1.
class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);
    void Number(Real value); // full precision; null when not finite
    void Integer(long long value);
    void Boolean(bool value);
    void Null();
    void Latin1String(std::string_view text);
    const std::string& Text() const { return text_; }

  private:
    void Separate();
    std::string text_;
    bool first_ = true; // no value yet in the open object or array
    bool afterKey_ = false;
};

// Prints the JSON text and a line end on standard output; ExitOk, or ExitFileError after the message
// when the output cannot be written (such as a full disk behind a redirection).
int PrintJson(const JsonWriter& json);
// Writes the bytes unchanged to standard output; ExitOk, or ExitFileError after the message.
int WriteStandardOutput(const std::string& bytes);
