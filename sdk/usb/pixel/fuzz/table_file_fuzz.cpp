// Feeds arbitrary file contents and geometry to the flat-field and bad-pixel
// readers and then applies the tables: every input must load without reading
// or writing outside the table or the frame, and a bad-pixel list must store
// back to the whole records it was read from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "bad_pixels.h"
#include "flat_field.h"

using namespace kqcmos;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) {
        return 0;
    }
    // Eight bytes of geometry: sensor size, window start and size, small
    // enough to keep each run fast.
    const FrameSize sensor{4 + data[0] % 60, 4 + data[1] % 60};
    const SensorWindow window{data[2] % 80 - 8, data[3] % 80 - 8, {1 + data[4] % 64, 1 + data[5] % 64}};
    const bool halfResolution = (data[6] & 1) != 0;
    const std::span<const std::uint8_t> file(data + 8, size - 8);

    FlatFieldTable flat(sensor);
    const std::size_t taken = flat.FromBytes(file);
    if (taken > flat.StoredBytes() / 2 || (file.size() >= flat.StoredBytes() && taken != flat.StoredBytes() / 2)) {
        std::abort();
    }
    std::vector<std::uint8_t> frame(FrameBytes(window.size), data[7]);
    (void)flat.Apply(window, frame);
    (void)flat.Build(window, frame);

    BadPixelTable bad;
    bad.FromBytes(file);
    const std::vector<std::uint8_t> stored = bad.ToBytes();
    const std::size_t whole = std::min(file.size() / kBadPixelRecordBytes, kMaxBadPixels) * kBadPixelRecordBytes;
    if (stored.size() != whole || !std::equal(stored.begin(), stored.end(), file.begin())) {
        std::abort();
    }
    bad.Correct(window, halfResolution, frame);
    (void)bad.Detect(window, frame);
    return 0;
}
