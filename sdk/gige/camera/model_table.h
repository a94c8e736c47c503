// The constants of every GigE camera class in one table: sensor geometry,
// bytes per raw pixel for buffer sizing, colour kind, default output, the
// offset bases added to every offset written, the Bayer phase, the register
// family and the white-balance gains loaded at construction. The classes
// and their tests read the same rows.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kqge {

enum class RegisterFamily { cmos752, ccd, cmos };

struct ModelTraits {
    std::string_view className;
    std::uint32_t modelCode = 0;
    std::int32_t maxWidth = 0;
    std::int32_t maxHeight = 0;
    std::int32_t bytesPerPixel = 1;  // raw buffers hold this many per pixel
    std::int32_t colorKind = 0;      // 0 Bayer colour, 3 two-byte colour, 1 and 2 mono
    std::int32_t defaultOutputKind = 0;
    std::int32_t defaultBits = 24;
    std::int32_t offsetBaseH = 0;
    std::int32_t offsetBaseV = 0;
    std::int32_t bayerPhase = 0;  // 0: a mono sensor, or the default phase
    RegisterFamily family = RegisterFamily::cmos752;
    bool loadsAwb = false;
    std::int32_t validBits = 8;
    // The two 752x480 classes hand the raw frame to the flip step directly.
    bool outputIsRaw = false;
    std::int32_t familyMarker = 0;  // 1 CMOS register family, 2 the 752x480 classes
};

inline constexpr std::int32_t kMaxPacketBytes = 8000;
inline constexpr double kSensorClockMHz = 24.0;

// Every class, `CDefaultCamera` first.
std::span<const ModelTraits> ModelTable();
// The row of `modelCode`; `CDefaultCamera`'s for a code no class has.
const ModelTraits& TraitsOf(std::uint32_t modelCode);

}  // namespace kqge
