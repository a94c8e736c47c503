// TIFF through libtiff, in memory: the file is read from and written to a
// byte buffer through libtiff's client procedures. 8-bit grey files stay
// grey; every other kind libtiff can read becomes 24-bit. Pictures are
// written uncompressed, one strip per 64 KB or so, which every reader takes.
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include <tiffio.h>

#include "codecs.h"

namespace picture_codec {
namespace {

// Rows converted per call when a file goes through libtiff's RGBA reader, so
// the temporary buffer stays small whatever the picture's size.
constexpr std::uint32_t kRgbaBandRows = 64;

struct MemoryFile {
    std::vector<std::uint8_t>* writable = nullptr;
    std::span<const std::uint8_t> readable;
    std::uint64_t pos = 0;

    std::uint64_t Size() const { return writable != nullptr ? writable->size() : readable.size(); }
};

tmsize_t ReadProc(thandle_t handle, void* dest, tmsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (size < 0 || file->pos >= file->Size()) {
        return 0;
    }
    const std::uint64_t n = std::min<std::uint64_t>(static_cast<std::uint64_t>(size), file->Size() - file->pos);
    const std::uint8_t* src = file->writable != nullptr ? file->writable->data() : file->readable.data();
    std::memcpy(dest, src + file->pos, static_cast<std::size_t>(n));
    file->pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t handle, void* src, tmsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (file->writable == nullptr || size < 0) {
        return -1;
    }
    const auto n = static_cast<std::uint64_t>(size);
    if (file->pos + n > file->writable->size()) {
        file->writable->resize(static_cast<std::size_t>(file->pos + n));
    }
    std::memcpy(file->writable->data() + file->pos, src, static_cast<std::size_t>(n));
    file->pos += n;
    return size;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) {
        base = file->pos;
    } else if (whence == SEEK_END) {
        base = file->Size();
    }
    file->pos = base + offset;
    return file->pos;
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t handle) { return static_cast<MemoryFile*>(handle)->Size(); }

// Reading maps the whole buffer: libtiff then takes strips and tiles from
// it directly, as from a mapped file.
int MapProc(thandle_t handle, void** base, toff_t* size) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (file->writable != nullptr || file->readable.empty()) {
        return 0;
    }
    *base = const_cast<std::uint8_t*>(file->readable.data());
    *size = file->readable.size();
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// libtiff's default handlers print to stderr; the caller gets our own error.
void SilenceLibtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle Open(MemoryFile& file, const char* mode) {
    SilenceLibtiff();
    return TiffHandle(TIFFClientOpen("picture", mode, &file, &ReadProc, &WriteProc, &SeekProc, &CloseProc, &SizeProc,
                                     &MapProc, &UnmapProc));
}

bool ReadGreyScanlines(TIFF* tif, CPicture& picture, bool minIsWhite, std::string& error) {
    const int height = picture.GetHeight();
    const int width = picture.GetWidth();
    if (TIFFScanlineSize64(tif) > static_cast<std::uint64_t>(picture.GetStride())) {
        error = "unexpected TIFF row layout";
        return false;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.GetBits(height - 1 - y);
        if (TIFFReadScanline(tif, row, static_cast<std::uint32_t>(y), 0) < 0) {
            error = "TIFF pixel data unreadable";
            return false;
        }
        if (minIsWhite) {
            for (int x = 0; x < width; ++x) {
                row[x] = static_cast<std::uint8_t>(255 - row[x]);
            }
        }
    }
    return true;
}

bool ReadThroughRgba(TIFF* tif, CPicture& picture, std::string& error) {
    char message[1024] = "";
    TIFFRGBAImage image;
    if (TIFFRGBAImageOK(tif, message) == 0 || TIFFRGBAImageBegin(&image, tif, 0, message) == 0) {
        error = "unsupported TIFF layout";
        return false;
    }
    image.req_orientation = ORIENTATION_TOPLEFT;
    const auto width = static_cast<std::uint32_t>(picture.GetWidth());
    const auto height = static_cast<std::uint32_t>(picture.GetHeight());
    std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * kRgbaBandRows);
    bool ok = true;
    for (std::uint32_t top = 0; top < height && ok; top += kRgbaBandRows) {
        const std::uint32_t rows = std::min(kRgbaBandRows, height - top);
        image.row_offset = static_cast<int>(top);
        image.col_offset = 0;
        if (TIFFRGBAImageGet(&image, band.data(), width, rows) == 0) {
            ok = false;
            break;
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            std::uint8_t* dst = picture.GetBits(static_cast<int>(height - 1 - (top + r)));
            const std::uint32_t* src = band.data() + static_cast<std::size_t>(r) * width;
            for (std::uint32_t x = 0; x < width; ++x) {
                dst[x * 3] = static_cast<std::uint8_t>(TIFFGetB(src[x]));
                dst[x * 3 + 1] = static_cast<std::uint8_t>(TIFFGetG(src[x]));
                dst[x * 3 + 2] = static_cast<std::uint8_t>(TIFFGetR(src[x]));
            }
        }
    }
    TIFFRGBAImageEnd(&image);
    if (!ok) {
        error = "TIFF pixel data unreadable";
    }
    return ok;
}

}  // namespace

bool DecodeTiff(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error) {
    MemoryFile file;
    file.readable = bytes;
    TiffHandle tif = Open(file, "r");
    if (!tif) {
        error = "not a readable TIFF file";
        return false;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bitsPerSample = 1;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t photometric = 0;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    if (TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) == 0 ||
        TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height) == 0 ||
        TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric) == 0) {
        error = "TIFF file without size or colour kind";
        return false;
    }
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    if (!CPicture::IsSizeAllowed(width, height)) {
        error = "TIFF size out of range";
        return false;
    }
    const bool grey = (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) &&
                      bitsPerSample == 8 && samplesPerPixel == 1 && TIFFIsTiled(tif.get()) == 0;
    if (!picture.Create(static_cast<int>(width), static_cast<int>(height), grey ? 8 : 24, kPictureTiff)) {
        error = "TIFF size out of range";
        return false;
    }
    return grey ? ReadGreyScanlines(tif.get(), picture, photometric == PHOTOMETRIC_MINISWHITE, error)
                : ReadThroughRgba(tif.get(), picture, error);
}

bool EncodeTiff(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error) {
    out.clear();
    MemoryFile file;
    file.writable = &out;
    TiffHandle tif = Open(file, "w");
    if (!tif) {
        error = "TIFF writer unavailable";
        return false;
    }
    const bool eightBit = picture.GetBpp() == 8;
    const bool grey = eightBit && picture.IsGreyPalette();
    const bool indexed = eightBit && !grey;
    const auto width = static_cast<std::uint32_t>(picture.GetWidth());
    const auto height = static_cast<std::uint32_t>(picture.GetHeight());
    const std::uint32_t rowBytes = width * (eightBit ? 1u : 3u);
    TIFF* t = tif.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, eightBit ? 1 : 3);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                 grey ? PHOTOMETRIC_MINISBLACK : (indexed ? PHOTOMETRIC_PALETTE : PHOTOMETRIC_RGB));
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, std::max<std::uint32_t>(1, 65536 / std::max<std::uint32_t>(rowBytes, 1)));
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, 96.0f);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, 96.0f);
    if (indexed) {
        std::uint16_t red[256];
        std::uint16_t green[256];
        std::uint16_t blue[256];
        const auto palette = picture.GetPalette();
        for (std::size_t i = 0; i < 256; ++i) {
            red[i] = static_cast<std::uint16_t>(palette[i].red * 257);
            green[i] = static_cast<std::uint16_t>(palette[i].green * 257);
            blue[i] = static_cast<std::uint16_t>(palette[i].blue * 257);
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, red, green, blue);
    }
    std::vector<std::uint8_t> row(rowBytes);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* src = picture.GetBits(static_cast<int>(height - 1 - y));
        if (eightBit) {
            std::memcpy(row.data(), src, rowBytes);
        } else {
            for (std::uint32_t x = 0; x < width; ++x) {
                row[x * 3] = src[x * 3 + 2];
                row[x * 3 + 1] = src[x * 3 + 1];
                row[x * 3 + 2] = src[x * 3];
            }
        }
        if (TIFFWriteScanline(t, row.data(), y, 0) < 0) {
            error = "TIFF could not be written";
            return false;
        }
    }
    if (TIFFFlush(t) == 0) {
        error = "TIFF could not be written";
        return false;
    }
    tif.reset();
    return true;
}

}  // namespace picture_codec
