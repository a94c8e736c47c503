#include "format_block.h"

#include "le_bytes.h"

namespace kq {

namespace rec = kqff::record;

std::array<std::uint8_t, kFormatBlockBytes> EncodeFormatBlock(const FormatBlock& b) {
    std::array<std::uint8_t, kFormatBlockBytes> out{};
    vz::PutLE32(out, rec::kHeight, b.height);
    vz::PutLE32(out, rec::kWidth, b.width);
    vz::PutLE32(out, rec::kColumnStart, b.columnStart);
    vz::PutLE32(out, rec::kRowStart, b.rowStart);
    // The driver reads one 32-bit exposure: the delay is its upper half.
    vz::PutLE16(out, rec::kExposure, b.exposure);
    vz::PutLE16(out, rec::kExposure + 2, b.exposureDelay);
    for (std::size_t i = 0; i < 3; ++i) out[rec::kGains + i] = b.gain;
    out[rec::kControl] = b.control;
    out[28] = b.mode;
    out[29] = b.encodedGain;
    vz::PutLE16(out, 30, b.sensorReadMode);
    vz::PutLE32(out, 32, b.extra);
    vz::PutLE16(out, 36, b.horizontalBlanking);
    vz::PutLE16(out, 38, b.verticalBlanking);
    for (std::size_t i = 0; i < 4; ++i) vz::PutLE16(out, 40 + 2 * i, b.registerPairs[i]);
    vz::PutLE16(out, 48, b.triggerPeriod);
    vz::PutLE16(out, 50, b.triggerCheckTime);
    return out;
}

}  // namespace kq
