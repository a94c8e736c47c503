#include "byte_stream.h"

#include <algorithm>
#include <cstring>

#include "archive_exception.h"

std::size_t MemoryStream::Read(std::span<std::uint8_t> dest) {
    const std::size_t n = std::min(dest.size(), bytes_.size() - pos_);
    if (n != 0) {
        std::memcpy(dest.data(), bytes_.data() + pos_, n);
    }
    pos_ += n;
    return n;
}

void MemoryStream::Write(std::span<const std::uint8_t> src) { bytes_.insert(bytes_.end(), src.begin(), src.end()); }

FileStream::FileStream(const std::filesystem::path& path, Mode mode) {
#ifdef _WIN32
    file_.reset(_wfopen(path.c_str(), mode == Mode::read ? L"rb" : L"wb"));
#else
    file_.reset(std::fopen(path.c_str(), mode == Mode::read ? "rb" : "wb"));
#endif
    if (!file_) {
        throw ArchiveException(ArchiveException::openFailed);
    }
    // The archive hands over a few kilobytes at a time; a larger buffer
    // here makes that one system call per kFileBuffer bytes, not per call.
    // The C runtime would take the size only with a buffer given to it.
    std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kFileBuffer);
    if (mode == Mode::read) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        size_ = ec ? UINT64_MAX : size;
    }
}

std::size_t FileStream::Read(std::span<std::uint8_t> dest) {
    const std::size_t n = std::fread(dest.data(), 1, dest.size(), file_.get());
    if (n < dest.size() && std::ferror(file_.get())) {
        throw ArchiveException(ArchiveException::readFailed);
    }
    pos_ += n;
    return n;
}

void FileStream::Write(std::span<const std::uint8_t> src) {
    if (!file_ || std::fwrite(src.data(), 1, src.size(), file_.get()) != src.size()) {
        throw ArchiveException(ArchiveException::writeFailed);
    }
}

std::uint64_t FileStream::Remaining() const { return size_ == UINT64_MAX || pos_ > size_ ? UINT64_MAX : size_ - pos_; }

void FileStream::Close() {
    if (!file_) {
        return;
    }
    std::FILE* f = file_.release();
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!flushed || !closed) {
        throw ArchiveException(ArchiveException::writeFailed);
    }
}
