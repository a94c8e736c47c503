#include "format_block.h"

#include "le_bytes.h"

namespace kq {

std::array<std::uint8_t, kFormatBlockBytes> EncodeFormatBlock(const FormatBlock& b) {
    std::array<std::uint8_t, kFormatBlockBytes> out{};
    PutLE32(out, 4, b.height);
    PutLE32(out, 8, b.width);
    PutLE32(out, 12, b.columnStart);
    PutLE32(out, 16, b.rowStart);
    PutLE16(out, 20, b.exposure);
    PutLE16(out, 22, b.exposureDelay);
    out[24] = out[25] = out[26] = b.gain;
    out[27] = b.control;
    out[28] = b.mode;
    out[29] = b.encodedGain;
    PutLE16(out, 30, b.sensorReadMode);
    PutLE32(out, 32, b.extra);
    PutLE16(out, 36, b.horizontalBlanking);
    PutLE16(out, 38, b.verticalBlanking);
    for (std::size_t i = 0; i < 4; ++i) PutLE16(out, 40 + 2 * i, b.registerPairs[i]);
    return out;
}

}  // namespace kq
