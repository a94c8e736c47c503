// Defective-pixel list in sensor coordinates: detected on a full-sensor
// frame, replaced in every later frame by the mean of the four same-colour
// neighbours two samples away. Stored as records of int16 column, int16 row,
// little-endian, no header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "sensor_window.h"

namespace kqcmos {

inline constexpr std::size_t kMaxBadPixels = 100000;
inline constexpr std::size_t kBadPixelRecordBytes = 4;
inline constexpr int kBadPixelThreshold = 19;

struct BadPixel {
    std::int16_t column = 0;
    std::int16_t row = 0;
    friend bool operator==(const BadPixel&, const BadPixel&) = default;
};

// Half-resolution readout: the sensor delivers columns 2, 3 of every 4 and
// rows 0, 1 of every 4 of a window twice the frame size.
constexpr bool IsHalfResolution(bool controlBit0, FrameSize frame, FrameSize sensor) {
    return controlBit0 && 2 * frame.width <= sensor.width && 2 * frame.height <= sensor.height;
}

class BadPixelTable {
public:
    BadPixelTable();

    std::span<const BadPixel> entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

    // Replaces the list with the pixels of the frame that differ by more than
    // kBadPixelThreshold from the mean of both their horizontal and their
    // vertical same-colour pairs (rows and columns 2 .. size - 4), at most
    // kMaxBadPixels. False when the frame is smaller than its window.
    [[nodiscard]] bool Detect(const SensorWindow& window, std::span<const std::uint8_t> raw);

    // Replaces each listed pixel that lies in the frame with all four
    // neighbours two samples away inside it. Never touches memory outside
    // the frame, whatever the entries say.
    void Correct(const SensorWindow& window, bool halfResolution, std::span<std::uint8_t> raw) const;

    std::vector<std::uint8_t> ToBytes() const;
    // Replaces the list with the whole records at the front of `bytes`, at
    // most kMaxBadPixels; a trailing partial record is ignored.
    void FromBytes(std::span<const std::uint8_t> bytes);

private:
    std::vector<BadPixel> entries_;
};

std::string BadPixelFileName(int typeCode);

// A missing file leaves the list as it is (returns false).
bool LoadBadPixelFile(const std::filesystem::path& path, BadPixelTable& table);
bool SaveBadPixelFile(const std::filesystem::path& path, const BadPixelTable& table);

}  // namespace kqcmos
