#pragma once
// The settings the TWAIN device library keeps per camera model, with their
// registry value names and defaults. Loading and saving go through a store,
// so the rules (which values are read, which only written, which bits kept)
// are the same for the registry and for a test's map.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twain {

// Offset slots: one per capture width (320 .. 2048) and height (240 .. 1536).
inline constexpr int kOffsetSlots = 8;

struct TwainSettings {
    std::array<std::int32_t, kOffsetSlots> hOffset{215, 215, 215, 215, 215, 215, 215, 215};
    std::array<std::int32_t, kOffsetSlots> vOffset{116, 116, 116, 116, 116, 116, 116, 116};
    std::int32_t redGain = 32;  // the global gain byte; green and blue are kept beside it
    std::int32_t greenGain = 32;
    std::int32_t blueGain = 32;
    std::int32_t whiteRed = 500;  // U_R, U_G, U_B
    std::int32_t whiteGreen = 500;
    std::int32_t whiteBlue = 500;
    std::int32_t exposure = 100;
    std::int32_t endian = 0;    // red and blue swapped by the data source
    std::int32_t zoomMode = 1;  // 1: the preview shows a fixed 800 x 600
    std::int32_t clearView = 0;
    std::int32_t sharpView = 0;
    std::int32_t conAe = 0;  // continuous automatic exposure
    std::int32_t sizeMode = 5;
    std::int32_t sensitiveMode = 0;
    std::int32_t bw = 0;  // 8-bit grey output
    std::int32_t colorAdjust = 0;
    std::int32_t gamma = 1;
    std::int32_t gammaValue = 16;  // the contrast value
    std::int32_t winMode = 0;
    std::int32_t upDownRev = 0;
    std::int32_t hdr = 1;
    std::int32_t xwj = 0;       // microscope colour mode
    std::int32_t subPixel = 1;  // skip factor 1, 2, 4 or 8; saved, never read
    std::int32_t subSample = 0;
    // Not kept in the registry.
    std::int32_t flip = 0;
    std::int32_t noiseRemoval = 0;
    std::int32_t outputBits = 24;
};

// Named 32-bit values; a value that was never written reads as nothing.
class SettingsStore {
public:
    virtual std::optional<std::int32_t> Read(std::string_view name) const = 0;
    virtual void Write(std::string_view name, std::int32_t value) = 0;

protected:
    ~SettingsStore() = default;
};

// Every value the store holds replaces its default; the gain bytes keep
// only their low byte. Skip factor and flag are not read: a camera always
// opens without skipping.
void LoadSettings(const SettingsStore& store, TwainSettings& settings);
// Writes every registry value, the skip factor and flag included.
void SaveSettings(const TwainSettings& settings, SettingsStore& store);

}  // namespace twain
