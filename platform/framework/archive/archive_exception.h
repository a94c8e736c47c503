#pragma once
#include <exception>

// Raised by an archive or its stream; the caller reports it (a document that
// cannot be read is an error, never a crash).
class ArchiveException : public std::exception {
public:
    enum Cause {
        endOfFile,   // the stream ended inside a value
        badFormat,   // a length, count or marker that no valid file holds
        tooLarge,    // a length or count beyond what the reader accepts
        openFailed,  // the file could not be opened or created
        readFailed,
        writeFailed,
    };
    explicit ArchiveException(Cause cause) : cause_(cause) {}
    Cause GetCause() const { return cause_; }
    const char* what() const noexcept override;

private:
    Cause cause_;
};
