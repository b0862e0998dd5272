#include "cli/tool.h"

#include <QFile>

#include <cmath>
#include <cstdio>

void PrintModelMessage(const std::string& message) {
    PrintError(QString::fromLocal8Bit(QByteArray::fromStdString(message)).trimmed());
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool LoadDesign(const InputOptions& input, TGem& gem) {
    if (IsAscInput(input)) return LoadAscDesign(input, gem);
    const FileResult read = gem.ReadDesign(LocalPath(input.Path), TGem::FileMode::Open);
    if (!read) PrintModelMessage(read.Error().Message);
    return read.Done();
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
    String(text, true);
}

void JsonWriter::Utf8String(std::string_view text) {
    String(text, false);
}

void JsonWriter::String(std::string_view text, bool latin1) {
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
        } else if (byte >= 0x80 && latin1) { // Latin-1 to UTF-8
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
