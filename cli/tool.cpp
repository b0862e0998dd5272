#include "cli/tool.h"

#include <QFile>

#include <cmath>
#include <cstdio>

void PrintError(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", ToolName, text.toLocal8Bit().constData());
}

void PrintModelMessage(const std::string& message) {
    PrintError(QString::fromLocal8Bit(QByteArray::fromStdString(message)).trimmed());
}

int UsageError(const QString& subcommand, const QString& text) {
    PrintError(text);
    const QString help = subcommand.isEmpty() ? QString("--help") : subcommand + " --help";
    std::fprintf(stderr, "Try '%s %s'.\n", ToolName, help.toLocal8Bit().constData());
    return ExitUsage;
}

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
    return std::nullopt;
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool LoadDesign(const InputOptions& input, TGem& gem) {
    if (IsAscInput(input)) return LoadAscDesign(input, gem);
    if (!gem.ReadDesign(LocalPath(input.Path), TGem::FileMode::Open)) {
        PrintModelMessage(gem.LastError.Message);
        return false;
    }
    return true;
}

void JsonWriter::Separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) text_ += ',';
    first_ = false;
}

void JsonWriter::BeginObject() {
    Separate();
    text_ += '{';
    first_ = true;
}

void JsonWriter::EndObject() {
    text_ += '}';
    first_ = false;
}

void JsonWriter::BeginArray() {
    Separate();
    text_ += '[';
    first_ = true;
}

void JsonWriter::EndArray() {
    text_ += ']';
    first_ = false;
}

void JsonWriter::Key(std::string_view key) {
    Latin1String(key);
    text_ += ':';
    afterKey_ = true;
}

void JsonWriter::Number(Real value) {
    if (!std::isfinite(value)) return Null();
    Separate();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Lg", value);
    text_ += buffer;
}

void JsonWriter::Integer(long long value) {
    Separate();
    text_ += std::to_string(value);
}

void JsonWriter::Boolean(bool value) {
    Separate();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    Separate();
    text_ += "null";
}

void JsonWriter::Latin1String(std::string_view text) {
    Separate();
    text_ += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            text_ += escaped;
        } else if (byte >= 0x80) { // Latin-1 to UTF-8
            text_ += static_cast<char>(0xC0 | (byte >> 6));
            text_ += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            text_ += c;
        }
    }
    text_ += '"';
}

int PrintJson(const JsonWriter& json) {
    return WriteStandardOutput(json.Text() + '\n');
}

int WriteStandardOutput(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return ExitOk;
    PrintError("cannot write the output to standard output");
    return ExitFileError;
}
