#include "avi_writer.h"

#include <algorithm>
#include <array>

#include "le_bytes.h"

namespace kq::files {
namespace {

constexpr std::size_t kHeaderBytes = 12 + 12 + 8 + 56 + 12 + 8 + 56 + 8 + 40 + 12;  // through 'movi'
constexpr std::size_t kMoviListOffset = kHeaderBytes - 12;                          // its 'LIST'
constexpr std::uint32_t kKeyFrame = 0x10;
constexpr std::uint32_t kHasIndex = 0x10;

void PutTag(std::span<std::uint8_t> out, std::size_t at, const char (&tag)[5]) {
    std::copy_n(tag, 4, out.begin() + at);
}

}  // namespace

std::unique_ptr<RiffAviWriter> RiffAviWriter::Create(const std::filesystem::path& path, const Format& format) {
    if (format.width <= 0 || format.height <= 0 || format.framesPerSecond <= 0) return nullptr;
    if (format.bitsPerPixel != 24 || format.compressor != 0) return nullptr;
    if (std::uint64_t{static_cast<std::uint32_t>(format.width)} * 3 * format.height > 0x40000000u) return nullptr;
    std::unique_ptr<RiffAviWriter> writer(new RiffAviWriter(path, format));
    if (!writer->file_ || !writer->WriteHeaders()) return nullptr;
    return writer;
}

RiffAviWriter::RiffAviWriter(const std::filesystem::path& path, const Format& format)
    : AviWriter(format), file_(path, std::ios::binary | std::ios::trunc) {
    rowBytes_ = (static_cast<std::uint32_t>(format.width) * 3 + 3) & ~3u;
    frameBytes_ = rowBytes_ * static_cast<std::uint32_t>(format.height);
    row_.assign(rowBytes_, 0);
    // Room for a full file's index, so writing frames does not reallocate.
    index_.reserve(std::min<std::uint64_t>(kRolloverBytes / (frameBytes_ + 24) + 64, 1u << 20));
}

RiffAviWriter::~RiffAviWriter() { Close(); }

bool RiffAviWriter::WriteHeaders() {
    std::array<std::uint8_t, kHeaderBytes> h{};
    const auto w = static_cast<std::uint32_t>(format_.width);
    const auto ht = static_cast<std::uint32_t>(format_.height);
    const auto rate = static_cast<std::uint32_t>(format_.framesPerSecond);
    const std::uint32_t riffBytes = static_cast<std::uint32_t>(FileBytes() - 8);
    PutTag(h, 0, "RIFF");
    vz::PutLE32(h, 4, riffBytes);
    PutTag(h, 8, "AVI ");
    PutTag(h, 12, "LIST");
    vz::PutLE32(h, 16, 4 + 8 + 56 + 12 + 8 + 56 + 8 + 40);
    PutTag(h, 20, "hdrl");
    PutTag(h, 24, "avih");
    vz::PutLE32(h, 28, 56);
    vz::PutLE32(h, 32, 1000000u / rate);     // microseconds per frame
    vz::PutLE32(h, 36, frameBytes_ * rate);  // max bytes per second
    vz::PutLE32(h, 44, kHasIndex);
    vz::PutLE32(h, 48, positions_);   // total frames
    vz::PutLE32(h, 56, 1);            // streams
    vz::PutLE32(h, 60, frameBytes_);  // suggested buffer
    vz::PutLE32(h, 64, w);
    vz::PutLE32(h, 68, ht);
    PutTag(h, 88, "LIST");
    vz::PutLE32(h, 92, 4 + 8 + 56 + 8 + 40);
    PutTag(h, 96, "strl");
    PutTag(h, 100, "strh");
    vz::PutLE32(h, 104, 56);
    PutTag(h, 108, "vids");
    PutTag(h, 112, "DIB ");
    vz::PutLE32(h, 128, 1);                               // scale
    vz::PutLE32(h, 132, rate);                            // rate
    vz::PutLE32(h, 140, positions_);                      // length
    vz::PutLE32(h, 144, frameBytes_);                     // suggested buffer
    vz::PutLE32(h, 148, 10000);                           // quality
    vz::PutLE16(h, 160, static_cast<std::uint16_t>(w));   // frame rectangle right
    vz::PutLE16(h, 162, static_cast<std::uint16_t>(ht));  // and bottom
    PutTag(h, 164, "strf");
    vz::PutLE32(h, 168, 40);
    vz::PutLE32(h, 172, 40);  // BITMAPINFOHEADER
    vz::PutLE32(h, 176, w);
    vz::PutLE32(h, 180, ht);
    vz::PutLE16(h, 184, 1);
    vz::PutLE16(h, 186, 24);
    vz::PutLE32(h, 192, frameBytes_);
    PutTag(h, kMoviListOffset, "LIST");
    vz::PutLE32(h, kMoviListOffset + 4, static_cast<std::uint32_t>(moviBytes_));
    PutTag(h, kMoviListOffset + 8, "movi");
    file_.seekp(0);
    file_.write(reinterpret_cast<const char*>(h.data()), h.size());
    return static_cast<bool>(file_);
}

std::uint64_t RiffAviWriter::FrameCost() const { return 8 + frameBytes_ + 16; }

std::uint64_t RiffAviWriter::FileBytes() const {
    return kMoviListOffset + 8 + moviBytes_ + 8 + 16 * std::uint64_t{positions_};
}

bool RiffAviWriter::WriteChunk(std::span<const std::uint8_t> frame) {
    std::array<std::uint8_t, 8> head{};
    PutTag(head, 0, "00db");
    vz::PutLE32(head, 4, frame.empty() ? 0 : frameBytes_);
    index_.push_back({static_cast<std::uint32_t>(moviBytes_), frame.empty() ? 0 : frameBytes_});
    file_.write(reinterpret_cast<const char*>(head.data()), head.size());
    if (!frame.empty()) {
        const std::size_t dataRow = static_cast<std::size_t>(format_.width) * 3;
        for (std::int32_t y = 0; y < format_.height; ++y) {
            std::copy_n(frame.begin() + y * dataRow, dataRow, row_.begin());
            file_.write(reinterpret_cast<const char*>(row_.data()), rowBytes_);
        }
    }
    moviBytes_ += 8 + (frame.empty() ? 0 : frameBytes_);
    ++positions_;
    return static_cast<bool>(file_);
}

bool RiffAviWriter::WriteFrame(std::uint32_t index, std::span<const std::uint8_t> frame) {
    if (closed_ || failed_) return false;
    if (frame.size() < static_cast<std::size_t>(format_.width) * 3 * format_.height) return false;
    if (static_cast<std::int64_t>(index) <= lastIndex_) return true;  // faster than the grid
    // Positions the camera left empty.
    while (static_cast<std::int64_t>(positions_) < index) {
        if (!WriteChunk({})) return !(failed_ = true);
    }
    lastIndex_ = index;
    if (!WriteChunk(frame)) return !(failed_ = true);
    return true;
}

bool RiffAviWriter::Close() {
    if (closed_) return !failed_;
    closed_ = true;
    std::array<std::uint8_t, 8> head{};
    PutTag(head, 0, "idx1");
    vz::PutLE32(head, 4, 16 * positions_);
    file_.write(reinterpret_cast<const char*>(head.data()), head.size());
    for (const IndexEntry& e : index_) {
        std::array<std::uint8_t, 16> entry{};
        PutTag(entry, 0, "00db");
        vz::PutLE32(entry, 4, e.bytes != 0 ? kKeyFrame : 0);
        vz::PutLE32(entry, 8, e.offset);
        vz::PutLE32(entry, 12, e.bytes);
        file_.write(reinterpret_cast<const char*>(entry.data()), entry.size());
    }
    const bool ok = WriteHeaders() && !failed_;
    file_.close();
    return ok && static_cast<bool>(file_);
}

}  // namespace kq::files
