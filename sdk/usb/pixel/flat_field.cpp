#include "flat_field.h"

#include <algorithm>

#include "table_file.h"

namespace kqcmos {

FlatFieldTable::FlatFieldTable(FrameSize sensor)
    : sensor_(sensor), entries_(3 * FrameBytes({sensor.width, sensor.height + 2}), kUnityFlatGain) {}

void FlatFieldTable::Reset() { std::fill(entries_.begin(), entries_.end(), kUnityFlatGain); }

bool FlatFieldTable::Fits(const SensorWindow& window, std::size_t frameBytes) const {
    const SensorPoint o = FrameOrigin(window);
    const FrameSize s = window.size;
    return s.width > 0 && s.height > 0 && o.column >= 0 && o.row >= 0 && o.column + s.width <= sensor_.width &&
           o.row + s.height <= sensor_.height + 2 && frameBytes >= FrameBytes(s);
}

std::size_t FlatFieldTable::IndexOf(SensorPoint origin, int y) const {
    return static_cast<std::size_t>(origin.row + y) * static_cast<std::size_t>(sensor_.width) +
           static_cast<std::size_t>(origin.column);
}

bool FlatFieldTable::Build(const SensorWindow& window, std::span<const std::uint8_t> raw) {
    if (!Fits(window, raw.size())) {
        return false;
    }
    const int w = window.size.width;
    const int h = window.size.height;
    // Centre half, starting on a cell so that the roles below hold.
    std::uint64_t red = 0;
    std::uint64_t green = 0;
    std::uint64_t blue = 0;
    std::uint64_t cells = 1;
    for (int r = (h / 4) & ~1; r < h - h / 4 && r + 1 < h; r += 2) {
        const std::uint8_t* top = raw.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(w);
        const std::uint8_t* bottom = top + w;
        for (int c = (w / 4) & ~1; c < w - w / 4 && c + 1 < w; c += 2) {
            red += top[c];
            green += bottom[c];
            blue += bottom[c + 1];
            ++cells;
        }
    }
    const auto meanRed = static_cast<int>(red / cells);
    const auto meanGreen = static_cast<int>(green / cells);
    const auto meanBlue = static_cast<int>(blue / cells);
    const int reference = (6 * meanGreen + 3 * meanRed + meanBlue) / 10 * 64;
    const SensorPoint origin = FrameOrigin(window);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        std::int16_t* gains = entries_.data() + IndexOf(origin, y);
        for (int x = 0; x < w; ++x) {
            gains[x] = static_cast<std::int16_t>(reference / std::max<int>(row[x], 1));
        }
    }
    return true;
}

bool FlatFieldTable::Apply(const SensorWindow& window, std::span<std::uint8_t> raw) const {
    if (!Fits(window, raw.size())) {
        return false;
    }
    const int w = window.size.width;
    for (int y = 0; y < window.size.height; ++y) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        const std::int16_t* gains = RowGains(window, y);
        for (int x = 0; x < w; ++x) {
            row[x] = ClampToByte((row[x] * gains[x]) >> 6);
        }
    }
    return true;
}

bool FlatFieldTable::BuildYuv(const SensorWindow& window, std::span<const std::uint8_t> yuv) {
    if (!Fits(window, yuv.size() / 2)) return false;
    const int w = window.size.width;
    const int h = window.size.height;
    const auto stride = 2 * static_cast<std::size_t>(w);
    std::uint64_t sum = 0;
    std::uint64_t count = 1;
    for (int y = h / 4; y < h - h / 4; ++y) {
        const std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * stride;
        for (int x = w / 4; x < w - w / 4; ++x) sum += row[2 * x];
        count += static_cast<std::uint64_t>(std::max(0, w - w / 4 - w / 4));
    }
    const int reference = static_cast<int>(sum / count) * 64;
    const SensorPoint origin = FrameOrigin(window);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * stride;
        std::int16_t* gains = entries_.data() + IndexOf(origin, y);
        for (int x = 0; x < w; ++x) gains[x] = static_cast<std::int16_t>(reference / std::max<int>(row[2 * x], 1));
    }
    return true;
}

bool FlatFieldTable::ApplyYuv(const SensorWindow& window, std::span<std::uint8_t> yuv) const {
    if (!Fits(window, yuv.size() / 2)) return false;
    const int w = window.size.width;
    for (int y = 0; y < window.size.height; ++y) {
        std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * 2 * static_cast<std::size_t>(w);
        const std::int16_t* gains = RowGains(window, y);
        for (int x = 0; x < w; ++x) row[2 * x] = ClampToByte((row[2 * x] * gains[x]) >> 6);
    }
    return true;
}

std::size_t FlatFieldTable::StoredBytes() const {
    return entries_.size();  // 3P bytes = the first 1.5P entries
}

std::vector<std::uint8_t> FlatFieldTable::ToBytes() const {
    std::vector<std::uint8_t> bytes(StoredBytes());
    for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
        const auto v = static_cast<std::uint16_t>(entries_[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(v & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return bytes;
}

std::size_t FlatFieldTable::FromBytes(std::span<const std::uint8_t> bytes) {
    const std::size_t count = std::min(bytes.size(), StoredBytes()) / 2;
    for (std::size_t i = 0; i < count; ++i) {
        entries_[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    }
    return count;
}

std::string FlatFieldFileName(int typeCode) { return std::to_string(typeCode) + "_kq.lvf"; }

bool LoadFlatFieldFile(const std::filesystem::path& path, FlatFieldTable& table) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileHead(path, table.StoredBytes(), bytes)) {
        return false;
    }
    table.FromBytes(bytes);
    return true;
}

bool SaveFlatFieldFile(const std::filesystem::path& path, const FlatFieldTable& table) {
    return WriteWholeFile(path, table.ToBytes());
}

}  // namespace kqcmos
