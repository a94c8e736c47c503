#include "grey_rgb_edges.h"

#include <algorithm>
#include <span>
#include <vector>

#include "bayer_kernels.h"
#include "core/status_codes.h"
#include "raw_prefilters.h"

namespace kq {

int GreyRgbWithEdges(std::int32_t height, std::int32_t width, const std::uint8_t* source, std::uint8_t* destination,
                     int prefilter) {
    constexpr std::int32_t kMaxSide = 65535;
    if (source == nullptr || destination == nullptr) return status::kRefused;
    if (height < 5 || width < 3 || height > kMaxSide || width > kMaxSide) return status::kNotSupported;
    const kqcmos::FrameSize size{width, height};
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> raw(source, source + pixels);  // the pre-filter works in place
    kqcmos::RunRawPrefilter(prefilter, size, raw);
    const std::span<std::uint8_t> out(destination, 3 * pixels);
    if (!kqcmos::BayerToRgbB3(size, out, raw)) return status::kNotSupported;

    const std::size_t row = 3 * static_cast<std::size_t>(width);
    auto line = [&](std::int32_t y) { return out.subspan(static_cast<std::size_t>(y) * row, row); };
    for (std::int32_t y = 0; y < 4; ++y) std::ranges::copy(line(4), line(y).begin());
    for (std::int32_t y = height - 2; y < height; ++y) std::ranges::copy(line(y - 1), line(y).begin());
    for (std::int32_t y = 0; y < height; ++y) {
        const auto pixels3 = line(y);
        std::copy_n(pixels3.begin() + 6, 3, pixels3.begin());
        std::copy_n(pixels3.begin() + 6, 3, pixels3.begin() + 3);
    }
    return status::kSuccess;
}

}  // namespace kq
