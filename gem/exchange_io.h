// Whole-line text file access for the exchange formats: lines end in LF or CR LF when read and are
// written with CR LF; bytes pass unchanged (Latin-1).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace exchange {

class TextFileReader {
  public:
    // Opens for reading; Error() is the system's error code when that failed, else 0.
    explicit TextFileReader(const std::string& name);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    int Error() const { return error_; }
    // The next line without its line break; false at the end of the file. Reading stops at a line
    // longer than `maxLength` (TooLong() then tells) and after `maxBytes` in all (TooLarge()), so that
    // no input, not even an endless one, takes unbounded memory or time.
    bool ReadLine(std::string& line, std::size_t maxLength);
    bool TooLong() const { return tooLong_; }
    bool TooLarge() const { return tooLarge_; }
    void LimitSize(long long maxBytes) { maxBytes_ = maxBytes; }

  private:
    std::FILE* file_ = nullptr;
    int error_ = 0;
    bool tooLong_ = false;
    bool tooLarge_ = false;
    long long bytesRead_ = 0;
    long long maxBytes_ = 1LL << 62;
};

// Writes a file as a whole: the lines go to a temporary file beside the target, which replaces the
// target only when everything was written, so a failed write never leaves a partial file behind.
class TextFileWriter {
  public:
    explicit TextFileWriter(const std::string& name);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // Writes the text and CR LF.
    void WriteLine(const std::string& text);
    // Closes the file and puts it in place; the system's error code of the first failure, else 0.
    int Close();

  private:
    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    int error_ = 0;
};

// Sixteen random hexadecimal digits, for names nobody can guess.
inline constexpr std::size_t RandomHexLength = 16;
std::string RandomHex();

// A new, unpredictable name in the target's folder for a file that will replace the target.
std::string TemporaryNameBeside(const std::string& target);

// Renames the finished temporary file over the target, keeping an existing target's permissions;
// removes the temporary file when that fails. The system's error code, else 0.
int PutInPlace(const std::string& temporary, const std::string& target);

// The current local time as the system formats it with the strftime format.
std::string LocalTimeText(const char* format);

// The operating system's error number of the failure just seen (EIO when the system gave none).
int LastOsError();

// Words separated by blanks (tabs belong to the words).
std::vector<std::string> BlankSeparatedWords(const std::string& text);

// " Cannot write file NAME. Error: CODE" and " Cannot read file NAME. Error: CODE", code in 4 characters.
std::string CannotWriteMessage(const std::string& name, int code);
std::string CannotReadMessage(const std::string& name, int code);

} // namespace exchange
