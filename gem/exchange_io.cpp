#include "gem/exchange_io.h"
#include "gem/numtext.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

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

std::string RandomHex() {
    static std::random_device device;
    static std::mt19937_64 generator((static_cast<std::uint64_t>(device()) << 32) ^ device() ^
                                     static_cast<std::uint64_t>(std::time(nullptr)));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

std::string LocalTimeText(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

std::string TemporaryNameBeside(const std::string& target) {
    const fs::path path(target);
    return (path.parent_path() / ("." + path.filename().string() + "." + RandomHex() + ".tmp")).string();
}

int PutInPlace(const std::string& temporary, const std::string& target) {
    std::error_code error;
    const auto existing = fs::status(target, error);
    if (!error && fs::exists(existing)) fs::permissions(temporary, existing.permissions(), error);
    error.clear();
    fs::rename(temporary, target, error);
    if (!error) return 0;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return error.value();
}

TextFileWriter::TextFileWriter(const std::string& name)
    : target_(name), temporary_(TemporaryNameBeside(name)) {
    errno = 0;
    file_ = std::fopen(temporary_.c_str(), "wbx");
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
    if (file_ == nullptr) return error_;
    errno = 0;
    if (std::fclose(file_) != 0 && error_ == 0) error_ = LastOsError();
    file_ = nullptr;
    if (error_ == 0) {
        error_ = PutInPlace(temporary_, target_);
    } else {
        std::error_code ignored;
        fs::remove(temporary_, ignored);
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
