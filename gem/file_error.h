// The one error record of the model's readers and writers, and the result they return.
#pragma once

#include <string>
#include <system_error>

// Why the last file operation failed: the message as the user is shown it, the line of the file at which
// reading stopped (0 when there is none) and the operating system's error number (0 when there is none).
// Empty after a success, and after an undo, redo or reload that simply had nothing to read.
struct FileError {
    std::string Message;
    int Line = 0;
    int OsError = 0;

    bool Empty() const { return Message.empty(); }
    void Clear() { *this = FileError{}; }
    // Records a failure and answers false, so that a reader can end with `return error.Set(...)`.
    bool Set(std::string message, int line = 0, int osError = 0) {
        Message = std::move(message);
        Line = line;
        OsError = osError;
        return false;
    }
};

// What a reader or writer returns: done, or the error record of why not. A read of an undo step when
// there is none to go back to is neither: nothing was read, and there is nothing to report.
class [[nodiscard]] FileResult {
  public:
    FileResult() = default; // done
    explicit FileResult(FileError error) : Record(std::move(error)) {}
    static FileResult Failure(std::string message, int line = 0, int osError = 0) {
        FileError error;
        error.Set(std::move(message), line, osError);
        return FileResult(std::move(error));
    }
    static FileResult NothingToRead() {
        FileResult result;
        result.NothingRead = true;
        return result;
    }

    bool Done() const { return Record.Empty() && !NothingRead; }
    explicit operator bool() const { return Done(); }
    // Why it failed; empty when done and when there was nothing to read.
    const FileError& Error() const { return Record; }

  private:
    FileError Record;
    bool NothingRead = false;
};

// A file error as the user is shown it: the message, and below it the operating system's own description
// of its error number, when there is one.
inline std::string FileFailureText(const std::string& message, int osError) {
    if (osError == 0) return message;
    return message + "\n" + std::generic_category().message(osError);
}
inline std::string FileFailureText(const FileError& error) {
    return FileFailureText(error.Message, error.OsError);
}
