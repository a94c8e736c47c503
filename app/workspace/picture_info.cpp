#include "picture_info.h"

#include <cstdio>
#include <system_error>

namespace {

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text != '\0'; ++text) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    }
    return out;
}

}  // namespace

float FileSizeKB(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return 0.0f;
    }
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    return error ? 0.0f : static_cast<float>(static_cast<double>(length) / 1024.0);
}

std::u16string ImageInfoText(const std::filesystem::path& path, std::int32_t width, std::int32_t height, float sizeKB,
                             std::u16string_view resolutionLabel, std::u16string_view sizeLabel) {
    char resolution[32];
    std::snprintf(resolution, sizeof resolution, "%d*%d", width, height);
    char size[64];
    std::snprintf(size, sizeof size, "%0.2fKB", static_cast<double>(sizeKB));
    std::u16string text = path.u16string();
    text += u"\n\n";
    text += resolutionLabel;
    text += Ascii(resolution);
    text += u"\n";
    text += sizeLabel;
    text += Ascii(size);
    return text;
}
