#include "picture_files.h"

#include <array>
#include <string_view>
#include <system_error>

#include "files/bmp_file.h"
#include "files/jpeg_file.h"
#include "replace_file.h"

namespace kqge {
namespace {

bool EndsWith(const std::filesystem::path::string_type& text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    const std::size_t start = text.size() - suffix.size();
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (text[start + i] != static_cast<std::filesystem::path::value_type>(suffix[i])) return false;
    }
    return true;
}

struct FormatNames {
    std::array<std::string_view, 4> accepted;
    std::string_view appended;
};

FormatNames NamesOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::bmp: return {{".bmp", ".BMP"}, ".bmp"};
    case PictureFormat::jpeg: return {{".jpg", ".JPG", ".jpeg", ".JPEG"}, ".jpg"};
    case PictureFormat::tiff: return {{".tif", ".TIF", ".TIFF", ".tiff"}, ".tif"};
    case PictureFormat::png: return {{".png", ".PNG"}, ".png"};
    }
    return {{}, ""};
}

}  // namespace

std::filesystem::path WithPictureExtension(const std::filesystem::path& path, PictureFormat format) {
    const FormatNames names = NamesOf(format);
    for (std::string_view accepted : names.accepted) {
        if (!accepted.empty() && EndsWith(path.native(), accepted)) return path;
    }
    std::filesystem::path out = path;
    out += std::string(names.appended);
    return out;
}

bool SampleLayoutOf(std::int32_t bitsPerPixel, SampleLayout& layout) {
    if (bitsPerPixel <= 0 || bitsPerPixel % 8 != 0) return false;
    const int bitsPerSample = (bitsPerPixel == 16 || bitsPerPixel == 48 || bitsPerPixel == 64) ? 16 : 8;
    const int samples = bitsPerPixel / bitsPerSample;
    if (samples != 1 && samples != 3 && samples != 4) return false;
    layout = {bitsPerSample, samples};
    return true;
}

int SavePicture(std::span<const std::uint8_t> pixels, const std::filesystem::path& path, std::int32_t width,
                std::int32_t height, std::int32_t bitsPerPixel, std::int32_t kind) {
    if (kind < 0 || kind > 3) return kPictureKindUnknown;
    const auto format = static_cast<PictureFormat>(kind);
    SampleLayout layout;
    const bool eightOr24 = bitsPerPixel == 8 || bitsPerPixel == 24;
    if ((format == PictureFormat::bmp || format == PictureFormat::jpeg) ? !eightOr24
                                                                        : !SampleLayoutOf(bitsPerPixel, layout)) {
        return kPictureDepthUnsupported;
    }
    const std::filesystem::path target = WithPictureExtension(path, format);
    // The BMP and JPEG writers replace the target only when whole themselves.
    bool written = false;
    switch (format) {
    case PictureFormat::bmp:
        written = kq::files::WriteBmpFile(target, pixels, width, height, bitsPerPixel, true);
        break;
    case PictureFormat::jpeg:
        written = kq::files::WriteJpegFile(target, pixels, true, bitsPerPixel == 24, width, height, bitsPerPixel, 100);
        break;
    case PictureFormat::tiff:
    case PictureFormat::png:
        written = vz::WriteThenReplace(target, [&](const std::filesystem::path& file) {
                      return format == PictureFormat::tiff ? WriteTiffFile(file, pixels, width, height, bitsPerPixel)
                                                           : WritePngFile(file, pixels, width, height, bitsPerPixel);
                  }) == vz::Replaced::ok;
        break;
    }
    return written ? kPictureSaved : kPictureNotWritten;
}

}  // namespace kqge
