#include "raw_formats.h"

namespace kq::raw {

bool Rgb565ToBgr(std::span<const std::uint8_t> pixels, std::span<std::uint8_t> bgr) {
    if (pixels.size() % 2 != 0) return false;
    const std::size_t count = pixels.size() / 2;
    if (bgr.size() != 3 * count) return false;
    const std::uint8_t* in = pixels.data();
    std::uint8_t* out = bgr.data();
    for (std::size_t i = 0; i < count; ++i, in += 2, out += 3) {
        const unsigned value = in[0] | (unsigned{in[1]} << 8);
        out[0] = static_cast<std::uint8_t>(in[0] << 3);
        out[1] = static_cast<std::uint8_t>((value >> 3) & 0xFC);
        out[2] = static_cast<std::uint8_t>(in[1] & 0xF8);
    }
    return true;
}

std::size_t ReduceSamplesInPlace(std::span<std::uint8_t> samples, SampleByte keep) {
    const std::size_t count = samples.size() / 2;
    std::uint8_t* data = samples.data();
    const std::size_t pick = keep == SampleByte::high ? 1 : 0;
    // Byte k is written after bytes 2k and 2k + 1 are read, and k <= 2k:
    // nothing is overwritten before it is used.
    for (std::size_t k = 0; k < count; ++k) data[k] = data[2 * k + pick];
    return count;
}

}  // namespace kq::raw
