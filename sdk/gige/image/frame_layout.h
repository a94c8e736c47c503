// What one raw frame is and what a conversion makes of it: the output kinds,
// the Bayer phases, the per-frame settings and the byte counts every buffer
// is checked against.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame_size.h"

namespace kqge {

using kqcmos::FrameSize;

// Output kinds of a conversion. Kinds 0 and 5 are 24-bit colour, 1 grey in
// 24 bits, 2 grey in 8 bits, 3 the raw bytes, 4 16-bit samples of the
// two-bytes-per-pixel models.
enum class OutputKind : int { color = 0, grey24 = 1, grey8 = 2, raw8 = 3, wide16 = 4, color5 = 5 };

// A value 0..5 as an output kind; false for any other value.
bool ToOutputKind(int value, OutputKind& kind);

// Bytes per raw sample (2 for kind 4) and per output pixel.
int RawBytesPerSample(OutputKind kind);
int OutputBytesPerPixel(OutputKind kind);
inline bool IsColor(OutputKind kind) { return kind == OutputKind::color || kind == OutputKind::color5; }

// The family marker of the camera: the CMOS register family selects the
// plain grey path for mono sensors.
inline constexpr int kCmosRegisterFamily = 1;

// Sensor colour kinds 0 and 3 are colour sensors; 1 and 2 monochrome.
inline bool IsColorSensor(int sensorColorKind) { return sensorColorKind == 0 || sensorColorKind == 3; }

inline constexpr int kNeutralContrast = 32;
inline constexpr int kNeutralSaturation = 8;
inline constexpr int kNeutralSharpness = 1;

// The camera's settings as one frame sees them: read once at the start of
// the frame, so a setter on another thread changes the next frame, never half
// of this one.
struct ImageSettings {
    int contrast = kNeutralContrast;      // 1..63
    int saturation = kNeutralSaturation;  // 1..16
    int sharpness = kNeutralSharpness;    // 1..8
    int flipMode = 0;                     // 1, 2, 3 flips; 4, 5 quarter turns
    int interpolationPhase = 3;           // Bayer phase 1..4 of the conversion
    int measurementPhase = 3;             // Bayer phase 1..4 of AE, AWB and correction
    int sensorColorKind = 1;
    int validBits = 8;
    int familyMarker = 0;
    bool hdr = false;
    bool convert = false;
    bool monoPath = false;
};

// Bytes of the raw frame and of the converted picture.
std::size_t RawFrameBytes(FrameSize size, OutputKind kind);
std::size_t OutputFrameBytes(FrameSize size, OutputKind kind);
// Bytes of the scratch a conversion needs besides its raw frame and output.
std::size_t ScratchBytes(FrameSize size, OutputKind kind);

// 16-bit samples are stored little-endian, two bytes each, as the hosts
// (x86) hold them: one load and one store each.
static_assert(std::endian::native == std::endian::little);
inline int LoadSample(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void StoreSample(std::uint8_t* p, int v) {
    const auto sample = static_cast<std::uint16_t>(v);
    std::memcpy(p, &sample, sizeof sample);
}

}  // namespace kqge
