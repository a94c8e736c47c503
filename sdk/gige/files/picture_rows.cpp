#include "picture_rows.h"

namespace kqge {

bool DescribeRows(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height,
                  std::int32_t bitsPerPixel, PictureRows& rows) {
    SampleLayout layout;
    if (width <= 0 || height <= 0 || !SampleLayoutOf(bitsPerPixel, layout)) return false;
    rows = {pixels, width, height, layout};
    return pixels.size() / static_cast<std::size_t>(height) >= rows.RowBytes();
}

UniqueFile OpenForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    return UniqueFile(_wfopen(path.c_str(), L"wb"));
#else
    return UniqueFile(std::fopen(path.c_str(), "wb"));
#endif
}

}  // namespace kqge
