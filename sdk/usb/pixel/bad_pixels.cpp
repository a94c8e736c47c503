#include "bad_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "table_file.h"

namespace kqcmos {
namespace {

// Position of sensor pixel (column, row) in the frame, when it is read out.
std::optional<SensorPoint> FramePosition(const SensorWindow& window, bool halfResolution, BadPixel entry) {
    const SensorPoint origin = FrameOrigin(window);
    const int dc = entry.column - origin.column;
    const int dr = entry.row - origin.row;
    if (halfResolution) {
        // Columns 2, 3 of every 4 and rows 0, 1 of every 4, counted from the
        // frame origin.
        if (dc <= 0 || dc >= 2 * window.size.width || dc % 4 < 2) {
            return std::nullopt;
        }
        if (dr < 0 || dr >= 2 * window.size.height || (dr & 2) != 0) {
            return std::nullopt;
        }
        return SensorPoint{dc % 2 + 2 * (dc / 4), dr % 4 + 2 * (dr / 4)};
    }
    if (entry.column <= window.columnStart + 2 || entry.column >= window.columnStart + window.size.width - 2 ||
        entry.row <= window.rowStart + 2 || entry.row >= window.rowStart + window.size.height - 2 ||
        entry.row == origin.row) {
        return std::nullopt;
    }
    return SensorPoint{dc, dr};
}

}  // namespace

BadPixelTable::BadPixelTable() { entries_.reserve(kMaxBadPixels); }

bool BadPixelTable::Detect(const SensorWindow& window, std::span<const std::uint8_t> raw) {
    const int w = window.size.width;
    const int h = window.size.height;
    if (!HoldsFrame(raw, window.size)) {
        return false;
    }
    entries_.clear();
    auto at = [&](int row, int column) -> int {
        return raw[static_cast<std::size_t>(row) * static_cast<std::size_t>(w) + static_cast<std::size_t>(column)];
    };
    const SensorPoint origin = FrameOrigin(window);
    for (int i = 2; i <= h - 4; ++i) {
        for (int j = 2; j <= w - 4; ++j) {
            const int p = at(i, j);
            const int horizontal = (at(i, j - 2) + at(i, j + 2)) / 2;
            if (std::abs(horizontal - p) <= kBadPixelThreshold) {
                continue;
            }
            const int vertical = (at(i - 2, j) + at(i + 2, j)) / 2;
            if (std::abs(vertical - p) > kBadPixelThreshold && entries_.size() < kMaxBadPixels) {
                entries_.push_back(
                    {static_cast<std::int16_t>(origin.column + j), static_cast<std::int16_t>(origin.row + i)});
            }
        }
    }
    return true;
}

void BadPixelTable::Correct(const SensorWindow& window, bool halfResolution, std::span<std::uint8_t> raw) const {
    const int w = window.size.width;
    const int h = window.size.height;
    if (!HoldsFrame(raw, window.size, 1, 5, 5)) {
        return;
    }
    auto at = [&](int row, int column) -> std::uint8_t& {
        return raw[static_cast<std::size_t>(row) * static_cast<std::size_t>(w) + static_cast<std::size_t>(column)];
    };
    for (const BadPixel& entry : entries_) {
        const std::optional<SensorPoint> p = FramePosition(window, halfResolution, entry);
        if (!p || p->column < 2 || p->column > w - 3 || p->row < 2 || p->row > h - 3) {
            continue;
        }
        const int sum = at(p->row - 2, p->column) + at(p->row + 2, p->column) + at(p->row, p->column - 2) +
                        at(p->row, p->column + 2);
        at(p->row, p->column) = static_cast<std::uint8_t>(sum / 4);
    }
}

std::vector<std::uint8_t> BadPixelTable::ToBytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(entries_.size() * kBadPixelRecordBytes);
    for (const BadPixel& e : entries_) {
        for (const std::int16_t v : {e.column, e.row}) {
            const auto u = static_cast<std::uint16_t>(v);
            bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(u >> 8));
        }
    }
    return bytes;
}

void BadPixelTable::FromBytes(std::span<const std::uint8_t> bytes) {
    entries_.clear();
    const std::size_t count = std::min(bytes.size() / kBadPixelRecordBytes, kMaxBadPixels);
    auto word = [&](std::size_t offset) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8)));
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = i * kBadPixelRecordBytes;
        entries_.push_back({word(offset), word(offset + 2)});
    }
}

std::string BadPixelFileName(int typeCode) { return std::to_string(typeCode) + "_KQCMOS.bpt"; }

bool LoadBadPixelFile(const std::filesystem::path& path, BadPixelTable& table) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileHead(path, kMaxBadPixels * kBadPixelRecordBytes, bytes)) {
        return false;
    }
    table.FromBytes(bytes);
    return true;
}

bool SaveBadPixelFile(const std::filesystem::path& path, const BadPixelTable& table) {
    return WriteWholeFile(path, table.ToBytes());
}

}  // namespace kqcmos
