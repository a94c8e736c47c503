// The exported functions. The library-wide ones run the library's start-up
// and shut-down; every other one looks its camera up by index (21 when none
// has it), refuses a null output with 2, and forwards to the camera.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "KQGEu.h"
#include "kqge_library.h"
#include "picture_files.h"
#include "result_codes.h"

namespace {

namespace result = kqge::result;

// The bytes of a caller's picture, or empty when its size describes none.
std::optional<std::size_t> PictureBytes(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0 || bitsPerPixel % 8 != 0) return std::nullopt;
    std::size_t bytes = 0;
    if (__builtin_mul_overflow(static_cast<std::size_t>(width), static_cast<std::size_t>(height), &bytes) ||
        __builtin_mul_overflow(bytes, static_cast<std::size_t>(bitsPerPixel / 8), &bytes)) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

extern "C" {

int32_t KQGEAPI KQGE_Initialize(void) { return kqge::Library().Initialize(); }

int32_t KQGEAPI KQGE_UnInitialize(void) { return kqge::Library().UnInitialize(); }

int32_t KQGEAPI KQGE_GetCameraCount(int32_t* count) { return kqge::Library().GetCameraCount(count); }

int32_t KQGEAPI KQGE_FrameToImage(unsigned char* picture, const wchar_t* path, int32_t width, int32_t height,
                                  int32_t bitsPerPixel, int32_t kind) {
    if (picture == nullptr || path == nullptr) return result::kNullOutput;
    const auto bytes = PictureBytes(width, height, bitsPerPixel);
    const std::span<const std::uint8_t> pixels(picture, bytes.value_or(0));
    return kqge::SavePicture(pixels, std::filesystem::path(path), width, height, bitsPerPixel, kind);
}

}  // extern "C"
