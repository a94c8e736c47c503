#pragma once
// The picture-information text and the file size it reports.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The file's length over 1024; 0 when the file cannot be opened.
float FileSizeKB(const std::filesystem::path& path);

// The path, a blank line, the resolution label with "width*height", and on
// the next line the size label with the size in KB to two decimals.
std::u16string ImageInfoText(const std::filesystem::path& path, std::int32_t width, std::int32_t height, float sizeKB,
                             std::u16string_view resolutionLabel, std::u16string_view sizeLabel);
