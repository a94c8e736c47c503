// Decodes arbitrary bytes as each picture kind: every input must give a
// picture or a clean failure, and a decoded picture must encode again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the decoder (0 detects); the rest is the file.
    const int type = data[0] % 5;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    CPicture picture;
    if (!picture.Decode(file, type)) {
        if (picture.IsValid() || picture.GetLastError().empty()) {
            std::abort();
        }
        return 0;
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
