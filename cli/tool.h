// Shared parts of lapidraw-tool: messages, loading the input design, writing the output, JSON output.
#pragma once

#include "cli/arguments.h"
#include "gem/gem.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

// The commands, each run on a checked request.
int RunInfo(const ToolRequest& request);
int RunGeometry(const ToolRequest& request);
int RunConvert(const ToolRequest& request);
int RunPreform(const ToolRequest& request);
int RunTransform(const ToolRequest& request);
int RunRender(const ToolRequest& request); // render and rotate need a GUI application for fonts
int RunRotate(const ToolRequest& request);
int RunListing(const ToolRequest& request);
int RunInstructions(const ToolRequest& request);
int RunPrint(const ToolRequest& request); // needs a GUI application for fonts
int RunStone(const ToolRequest& request);
int RunStoneGeometry(const ToolRequest& request);
int RunMaterials(const ToolRequest& request);
int RunDiagram(const ToolRequest& request);   // needs a GUI application for fonts
int ConvertStone(const ToolRequest& request); // convert --stone

struct StoneHalves;
struct Stone;
// Reads both halves of the request's stone and makes it; false after the message naming the files.
bool LoadStone(const ToolRequest& request, StoneHalves& halves, Stone& stone);
// "8 mm wide in Quartz: 2.31 ct" for the weight options given; empty without them. False after the
// message for an unknown material.
bool WeightLine(const ToolRequest& request, const Stone& stone, std::string& line);
int RunOptics(const ToolRequest& request); // its tilt plot needs fonts too
int RunExport3d(const ToolRequest& request);
int RunOutline(const ToolRequest& request);
int RunLibrary(const ToolRequest& request);
// Message handler of the drawing subcommands: passes only Qt's critical messages on.
void QuietQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message);
// The model's message about a file: its own text is plain ASCII, the file's name is as the system
// gave it.
void PrintModelMessage(const std::string& message);

bool IsAscInput(const InputOptions& input);
bool LoadAscDesign(const InputOptions& input, TGem& gem);

// Writes the design by the name's extension: .lfx (design file), .asc (ASC export), .otl (girdle
// outline); ExitOk, or ExitFileError after the message.
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
    void Utf8String(std::string_view text);
    const std::string& Text() const { return text_; }

  private:
    void Separate();
    void String(std::string_view text, bool latin1);
    std::string text_;
    bool first_ = true; // no value yet in the open object or array
    bool afterKey_ = false;
};

// Prints the JSON text and a line end on standard output; ExitOk, or ExitFileError after the message
// when the output cannot be written (such as a full disk behind a redirection).
int PrintJson(const JsonWriter& json);
// Writes the bytes unchanged to standard output; ExitOk, or ExitFileError after the message.
int WriteStandardOutput(const std::string& bytes);
