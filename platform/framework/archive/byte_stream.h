#pragma once
// Byte streams under an archive: memory for tests and history steps, files for
// documents. No Windows header: the file stream uses the C runtime only.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Reads up to dest.size() bytes; returns how many were read (0 at end).
    virtual std::size_t Read(std::span<std::uint8_t> dest) = 0;
    // Writes all bytes or throws ArchiveException(writeFailed).
    virtual void Write(std::span<const std::uint8_t> src) = 0;
    // Bytes left to read when the stream knows it, else SIZE_MAX.
    virtual std::uint64_t Remaining() const { return UINT64_MAX; }
};

class MemoryStream final : public ByteStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::size_t Read(std::span<std::uint8_t> dest) override;
    void Write(std::span<const std::uint8_t> src) override;
    std::uint64_t Remaining() const override { return bytes_.size() - pos_; }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// A file opened for reading or for writing (created or truncated).
class FileStream final : public ByteStream {
public:
    enum class Mode { read, write };
    static constexpr std::size_t kFileBuffer = 64 * 1024;
    // Throws ArchiveException(openFailed) when the file cannot be opened.
    FileStream(const std::filesystem::path& path, Mode mode);

    std::size_t Read(std::span<std::uint8_t> dest) override;
    void Write(std::span<const std::uint8_t> src) override;
    std::uint64_t Remaining() const override;
    // Flushes and closes; throws ArchiveException(writeFailed) when the data
    // did not reach the file.
    void Close();

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    // Declared before the file, so that it outlives it.
    std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kFileBuffer);
    std::unique_ptr<std::FILE, Closer> file_;
    std::uint64_t size_ = 0;
    std::uint64_t pos_ = 0;
};
