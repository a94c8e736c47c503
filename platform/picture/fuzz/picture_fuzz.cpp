// Decodes arbitrary bytes as each picture kind: every input must give a
// picture or a clean failure, a decoded picture must encode again, and the
// thumbnail path (reduced JPEG decode, BMP rows read in place) must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "codecs.h"
#include "picture.h"
#include "thumbnail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the decoder (0 detects); the rest is the file.
    const int type = data[0] % 5;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    // Only BMP and JPEG have thumbnail paths of their own; the other kinds
    // would just decode twice.
    const int kind = type == kPictureAuto ? picture_codec::DetectType(file) : type;
    const bool ownThumbnailPath = kind == kPictureBmp || kind == kPictureJpeg;
    vz::picture::Thumbnail thumbnail;
    if (ownThumbnailPath) {
        thumbnail = vz::picture::DecodeThumbnail(file, type, 140, 140);
    }
    if (thumbnail.picture.IsValid() &&
        (!thumbnail.Loaded() || thumbnail.picture.GetWidth() > 140 || thumbnail.picture.GetHeight() > 140)) {
        std::abort();
    }
    CPicture picture;
    if (!picture.Decode(file, type)) {
        if (picture.IsValid() || picture.GetLastError().empty()) {
            std::abort();
        }
        return 0;
    }
    if (ownThumbnailPath &&
        (!thumbnail.Loaded() || thumbnail.sourceSize.width != static_cast<std::uint32_t>(picture.GetWidth()) ||
         thumbnail.sourceSize.height != static_cast<std::uint32_t>(picture.GetHeight()))) {
        std::abort();
    }
    if (picture.GetSize() != picture.GetStride() * static_cast<std::size_t>(picture.GetHeight()) ||
        (picture.GetBpp() != 8 && picture.GetBpp() != 24)) {
        std::abort();
    }
    std::vector<std::uint8_t> encoded;
    if (picture.GetWidth() * picture.GetHeight() <= 4096 && !picture.Encode(encoded, kPictureBmp)) {
        std::abort();
    }
    return 0;
}
