#include "gem/exchange_io.h"
#include "gem/numtext.h"

#include <cerrno>

namespace exchange {

int LastOsError() {
    return errno != 0 ? errno : EIO;
}

TextFileReader::TextFileReader(const std::string& name) {
    errno = 0;
    file_ = std::fopen(name.c_str(), "rb");
    if (file_ == nullptr) error_ = LastOsError();
}

TextFileReader::~TextFileReader() {
    if (file_ != nullptr) std::fclose(file_);
}

bool TextFileReader::ReadLine(std::string& line, std::size_t maxLength) {
    line.clear();
    if (file_ == nullptr || tooLong_ || tooLarge_) return false;
    int c = std::getc(file_);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (line.size() >= maxLength) {
            tooLong_ = true;
            return true;
        }
        if (++bytesRead_ > maxBytes_) {
            tooLarge_ = true;
            return false;
        }
        line.push_back(static_cast<char>(c));
        c = std::getc(file_);
    }
    ++bytesRead_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

TextFileWriter::TextFileWriter(const std::string& name) {
    errno = 0;
    file_ = std::fopen(name.c_str(), "wb");
    if (file_ == nullptr) error_ = LastOsError();
}

TextFileWriter::~TextFileWriter() {
    Close();
}

void TextFileWriter::WriteLine(const std::string& text) {
    if (file_ == nullptr || error_ != 0) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fputs("\r\n", file_) == EOF)
        error_ = LastOsError();
}

int TextFileWriter::Close() {
    if (file_ != nullptr) {
        errno = 0;
        if (std::fclose(file_) != 0 && error_ == 0) error_ = LastOsError();
        file_ = nullptr;
    }
    return error_;
}

std::vector<std::string> BlankSeparatedWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::string CannotWriteMessage(const std::string& name, int code) {
    return " Cannot write file " + name + ". Error: " + PadLeft(IntText(code), 4);
}

std::string CannotReadMessage(const std::string& name, int code) {
    return " Cannot read file " + name + ". Error: " + PadLeft(IntText(code), 4);
}

} // namespace exchange
