// TIFF through libtiff, uncompressed, one scanline at a time from the
// picture's top row.
#include <algorithm>
#include <memory>
#include <vector>

#include <tiffio.h>

#include "picture_files.h"
#include "picture_rows.h"

namespace kqge {
namespace {

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// One row in file order: red before blue for colour pictures.
void FileRow(const PictureRows& rows, std::int32_t y, std::vector<std::uint8_t>& out) {
    const std::uint8_t* in = rows.TopDownRow(y);
    std::copy(in, in + rows.RowBytes(), out.begin());
    if (rows.layout.samplesPerPixel < 3) return;
    const std::size_t sample = static_cast<std::size_t>(rows.layout.bitsPerSample / 8);
    const std::size_t pixel = sample * static_cast<std::size_t>(rows.layout.samplesPerPixel);
    for (std::size_t p = 0; p + pixel <= out.size(); p += pixel) {
        std::swap_ranges(out.begin() + static_cast<std::ptrdiff_t>(p),
                         out.begin() + static_cast<std::ptrdiff_t>(p + sample),
                         out.begin() + static_cast<std::ptrdiff_t>(p + 2 * sample));
    }
}

}  // namespace

bool WriteTiffFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, std::int32_t width,
                   std::int32_t height, std::int32_t bitsPerPixel) {
    PictureRows rows;
    if (!DescribeRows(pixels, width, height, bitsPerPixel, rows)) return false;
#ifdef _WIN32
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpenW(path.c_str(), "w"));
#else
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(path.c_str(), "w"));
#endif
    if (!tiff) return false;
    TIFF* t = tiff.get();
    const int samples = rows.layout.samplesPerPixel;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(samples));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(rows.layout.bitsPerSample));
    TIFFSetField(t, TIFFTAG_ORIENTATION, static_cast<std::uint16_t>(ORIENTATION_TOPLEFT));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, static_cast<std::uint16_t>(PLANARCONFIG_CONTIG));
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                 static_cast<std::uint16_t>(samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB));
    if (samples == 4) {
        const std::uint16_t alpha[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, static_cast<std::uint16_t>(1), alpha);
    }
    TIFFSetField(t, TIFFTAG_COMPRESSION, static_cast<std::uint16_t>(COMPRESSION_NONE));
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    std::vector<std::uint8_t> row(rows.RowBytes());
    for (std::int32_t y = 0; y < height; ++y) {
        FileRow(rows, y, row);
        if (TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0) < 0) return false;
    }
    // Closing flushes the last strip and the directory.
    if (TIFFFlush(t) != 1) return false;
    return true;
}

}  // namespace kqge
