#pragma once
// Movie recordings: one video stream of frames on a fixed-rate grid.
//
// Create makes the file and its stream before it returns, so a recording
// that cannot be written is refused at its start and leaves no file. On
// Windows the platform's AVIFile streams write it through the compressor
// the caller chose (0: uncompressed); elsewhere RiffAviWriter writes AVI 1.0
// itself, uncompressed 24 bits only.
//
// A recording file stays below kRolloverBytes: a RIFF size above 2^31 is
// misread by readers that take it as signed, so the caller starts a new file
// before a frame would pass that size.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kq::files {

class AviWriter {
public:
    static constexpr std::uint64_t kRolloverBytes = 0x7F000000;  // 2032 MiB

    struct Format {
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t framesPerSecond = 40;
        std::int32_t bitsPerPixel = 24;  // 24, or 8 (grey)
        std::uint32_t compressor = 0;    // four-character code; 0 uncompressed
    };

    // Nothing when the format is not usable, the file cannot be created or
    // the compressor refuses the frames; `message` (when given) then says
    // which step failed.
    static std::unique_ptr<AviWriter> Create(const std::filesystem::path& path, const Format& format,
                                             std::string* message = nullptr);
    virtual ~AviWriter() = default;

    // Writes a frame (bottom-up rows of width x bits / 8 bytes, no gaps) at
    // grid position `index`. A position not above the last one written is
    // dropped (true). False when the file cannot be written.
    virtual bool WriteFrame(std::uint32_t index, std::span<const std::uint8_t> frame) = 0;

    // Bytes the file will have once closed (at most).
    virtual std::uint64_t FileBytes() const = 0;
    // Bytes one more frame adds to FileBytes() (at most).
    virtual std::uint64_t FrameCost() const = 0;
    virtual std::uint32_t Positions() const = 0;
    const Format& format() const { return format_; }

    // Finishes the file. False on a write error.
    virtual bool Close() = 0;

protected:
    explicit AviWriter(const Format& format) : format_(format) {}
    Format format_;
};

// AVI 1.0 (RIFF) of uncompressed 24-bit frames by our own code: a 'movi'
// list of '00db' chunks and an 'idx1' index. A position without a frame is
// an empty chunk, which players show as the previous frame.
class RiffAviWriter final : public AviWriter {
public:
    static std::unique_ptr<RiffAviWriter> Create(const std::filesystem::path& path, const Format& format);
    ~RiffAviWriter() override;

    bool WriteFrame(std::uint32_t index, std::span<const std::uint8_t> frame) override;
    std::uint64_t FileBytes() const override;
    std::uint64_t FrameCost() const override;
    std::uint32_t Positions() const override { return positions_; }
    bool Close() override;

private:
    RiffAviWriter(const std::filesystem::path& path, const Format& format);
    bool WriteHeaders();
    bool WriteChunk(std::span<const std::uint8_t> frame);

    struct IndexEntry {
        std::uint32_t offset;
        std::uint32_t bytes;
    };

    std::ofstream file_;
    std::uint32_t rowBytes_ = 0;  // padded to 4
    std::uint32_t frameBytes_ = 0;
    std::vector<std::uint8_t> row_;  // one padded row
    std::vector<IndexEntry> index_;
    std::uint64_t moviBytes_ = 4;  // the 'movi' type
    std::uint32_t positions_ = 0;
    std::int64_t lastIndex_ = -1;
    bool closed_ = false;
    bool failed_ = false;
};

}  // namespace kq::files
