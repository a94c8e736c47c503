#pragma once
// AVI 1.0 (RIFF) recordings of uncompressed 24-bit frames: one video stream,
// a 'movi' list of '00db' chunks and an 'idx1' index. Frames sit at
// positions of a fixed-rate grid; a position without a frame is an empty
// chunk, which players show as the previous frame.
//
// A recording file stays below kRolloverBytes: a RIFF size above 2^31 is
// misread by readers that take it as signed, so the caller starts a new file
// before a frame would pass that size.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <vector>

namespace kq::files {

class AviWriter {
public:
    static constexpr std::uint64_t kRolloverBytes = 0x7F000000;  // 2032 MiB

    struct Format {
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t framesPerSecond = 40;
    };

    // Nothing when the format is not usable or the file cannot be created.
    static std::unique_ptr<AviWriter> Create(const std::filesystem::path& path, const Format& format);
    ~AviWriter();

    // Writes a frame (bottom-up rows of width x 3 bytes, no gaps) at grid
    // position `index`. A position not above the last one written is
    // dropped (true). False when the file cannot be written.
    bool WriteFrame(std::uint32_t index, std::span<const std::uint8_t> frame);

    // Bytes the file will have once closed.
    std::uint64_t FileBytes() const;
    // Bytes one more frame adds to FileBytes().
    std::uint64_t FrameCost() const;
    std::uint32_t Positions() const { return positions_; }
    const Format& format() const { return format_; }

    // Writes the index and the final header sizes. False on a write error.
    bool Close();

private:
    AviWriter(const std::filesystem::path& path, const Format& format);
    bool WriteHeaders();
    bool WriteChunk(std::span<const std::uint8_t> frame);

    struct IndexEntry {
        std::uint32_t offset;
        std::uint32_t bytes;
    };

    std::ofstream file_;
    Format format_;
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
