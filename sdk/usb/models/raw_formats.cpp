#include "raw_formats.h"

#include <algorithm>
#include <cstring>

namespace kq::raw {

namespace {

// Pixels per block: the channel planes of a block are computed first, then
// interleaved, so both loops run on whole vectors.
constexpr std::size_t kBlock = 32;

inline void ConvertBlock(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    std::uint8_t blue[kBlock], green[kBlock], red[kBlock];
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned low = in[2 * i], high = in[2 * i + 1];
        blue[i] = static_cast<std::uint8_t>(low << 3);
        green[i] = static_cast<std::uint8_t>(((low | (high << 8)) >> 3) & 0xFC);
        red[i] = static_cast<std::uint8_t>(high & 0xF8);
    }
    for (std::size_t i = 0; i < count; ++i) {
        out[3 * i] = blue[i];
        out[3 * i + 1] = green[i];
        out[3 * i + 2] = red[i];
    }
}

}  // namespace

bool Rgb565ToBgr(std::span<const std::uint8_t> pixels, std::span<std::uint8_t> bgr) {
    if (pixels.size() % 2 != 0) return false;
    const std::size_t count = pixels.size() / 2;
    if (bgr.size() != 3 * count) return false;
    std::size_t done = 0;
    for (; done + kBlock <= count; done += kBlock) {
        ConvertBlock(pixels.data() + 2 * done, bgr.data() + 3 * done, kBlock);
    }
    ConvertBlock(pixels.data() + 2 * done, bgr.data() + 3 * done, count - done);
    return true;
}

std::size_t ReduceSamplesInPlace(std::span<std::uint8_t> samples, SampleByte keep) {
    const std::size_t count = samples.size() / 2;
    std::uint8_t* data = samples.data();
    const std::size_t pick = keep == SampleByte::high ? 1 : 0;
    // Block b reads bytes [2 b n, 2 b n + 2 n) into a local copy and writes
    // [b n, b n + n): the writes never reach bytes a later block reads.
    std::uint8_t block[2 * kBlock];
    std::size_t k = 0;
    for (; k + kBlock <= count; k += kBlock) {
        std::memcpy(block, data + 2 * k, sizeof block);
        for (std::size_t i = 0; i < kBlock; ++i) data[k + i] = block[2 * i + pick];
    }
    for (; k < count; ++k) data[k] = data[2 * k + pick];
    return count;
}

}  // namespace kq::raw
