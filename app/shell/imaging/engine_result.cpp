#include "engine_result.h"

#include "picture_file_names.h"

bool PictureFromEngineRows(std::span<const std::uint8_t> rows, int width, int height, CPicture& picture) {
    if (width <= 0 || height <= 0 || !CPicture::IsSizeAllowed(width, height) ||
        rows.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return false;
    }
    CPicture made(kPictureBmp);
    if (!made.CreateFromArray(rows, width, height, 24, width * 3, true)) {
        return false;
    }
    picture = std::move(made);
    return true;
}

int ResultPictureType(std::wstring_view path) {
    const int type = SaveAsTypeOfExtension(ExtensionOfPath(path));
    return type == kSaveAsDocument ? kPictureJpeg : type;
}
