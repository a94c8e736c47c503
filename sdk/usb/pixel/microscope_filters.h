// Bayer-domain filters of the microscope mode, in place on the raw frame.
// The four members of each family differ only in which sample of the 2 x 2
// cell plays which role; each model's pixel description names the member
// its sensor's cell takes.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"

namespace kqcmos {

// Greens pulled toward the mean and below a brighter centre sample, centre
// and other sample lifted. Cells of rows (2m, 2m + 1) with 2m + 1 from 3 to
// height - 3. `hdrTone` (256 entries, the tone curve),
// when given, replaces each of the four samples by the low byte of its entry.
void MicroscopeBayerFilter1(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone = {});
void MicroscopeBayerFilter2(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone = {});
void MicroscopeBayerFilter3(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone = {});
void MicroscopeBayerFilter4(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone = {});

// In every cell one sample x is pulled toward its diagonal partner a when
// (a x 21) >> 4 < x. Member 3 compares blue with the red of the next cell to
// the right, so the last cell of a row has no partner and is left alone.
void MicroscopeChromaClamp1(FrameSize size, std::span<std::uint8_t> raw);
void MicroscopeChromaClamp2(FrameSize size, std::span<std::uint8_t> raw);
void MicroscopeChromaClamp3(FrameSize size, std::span<std::uint8_t> raw);
void MicroscopeChromaClamp4(FrameSize size, std::span<std::uint8_t> raw);

// The chroma clamp, then the Bayer filter, of `member` (1 to 4); any other
// member leaves the frame as it is.
void RunMicroscopeFilters(int member, FrameSize size, std::span<std::uint8_t> raw,
                          std::span<const std::uint32_t> hdrTone = {});

}  // namespace kqcmos
