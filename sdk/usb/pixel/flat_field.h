// Flat-field (light average) correction: one signed 16-bit gain per sensor
// pixel, 64 meaning unity, built from a frame of an evenly lit scene.
//
// The table is indexed in sensor coordinates (row stride = sensor width), so
// a table built in one window corrects the same sensor pixels in any other
// window. Its stored form is the first 3 x W x (H + 2) bytes of the table
// (W x H the sensor size), little-endian, no header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "sensor_window.h"

namespace kqcmos {

inline constexpr std::int16_t kUnityFlatGain = 64;

class FlatFieldTable {
public:
    // Allocates 3 x W x (H + 2) entries, all unity.
    explicit FlatFieldTable(FrameSize sensor);

    FrameSize sensor() const { return sensor_; }
    std::span<const std::int16_t> entries() const { return entries_; }
    void Reset();

    // Gains for the window from a raw frame: reference / max(pixel, 1), the
    // reference being ((6 G + 3 R + B) / 10) x 64 from the channel means over
    // the centre half of the frame. False (table unchanged) when the window
    // does not lie on the sensor or the frame is smaller than its size.
    [[nodiscard]] bool Build(const SensorWindow& window, std::span<const std::uint8_t> raw);

    // v = min(255, (v x gain) >> 6), negative results 0. False (frame
    // unchanged) under the same conditions as Build.
    [[nodiscard]] bool Apply(const SensorWindow& window, std::span<std::uint8_t> raw) const;

    // The same for YUV 4:2:2 frames (two bytes a pixel): the reference is
    // 64 x the mean Y over the centre half, and each pixel's entry is the
    // gain of its Y byte; the chroma bytes keep unity gain, so they need no
    // entries and the table stays one entry a sensor pixel.
    [[nodiscard]] bool BuildYuv(const SensorWindow& window, std::span<const std::uint8_t> yuv);
    [[nodiscard]] bool ApplyYuv(const SensorWindow& window, std::span<std::uint8_t> yuv) const;

    // True when `window` lies on the sensor and a frame of `frameBytes` holds
    // its size: what Build and Apply need.
    bool Fits(const SensorWindow& window, std::size_t frameBytes) const;
    // The gains of row `y` of a frame in `window`, which Fits: one a pixel.
    const std::int16_t* RowGains(const SensorWindow& window, int y) const {
        return entries_.data() + IndexOf(FrameOrigin(window), y);
    }

    // The stored form: exactly StoredBytes() bytes.
    std::size_t StoredBytes() const;
    std::vector<std::uint8_t> ToBytes() const;
    // Takes whole entries from the front of `bytes`, at most StoredBytes();
    // the rest of the table keeps its values. Returns the entries taken.
    std::size_t FromBytes(std::span<const std::uint8_t> bytes);

private:
    std::size_t IndexOf(SensorPoint origin, int y) const;

    FrameSize sensor_;
    std::vector<std::int16_t> entries_;
};

std::string FlatFieldFileName(int typeCode);

// A missing file leaves the table as it is (returns false); a short file
// fills what it holds; bytes past the stored size are not read.
bool LoadFlatFieldFile(const std::filesystem::path& path, FlatFieldTable& table);
// Creates or replaces the file; false when it cannot be written.
bool SaveFlatFieldFile(const std::filesystem::path& path, const FlatFieldTable& table);

}  // namespace kqcmos
