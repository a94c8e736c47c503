#pragma once
// The thumbnail grid's file rules: which files a cell takes (by the end of
// the name, without case; ".tif" is refused) and when two paths are the same
// file (compared without case).
#include <string_view>

// 1 BMP, 2 JPEG, 3 TIFF (the picture types), 0 refused.
int ThumbFileType(std::wstring_view path);

bool SamePath(std::wstring_view a, std::wstring_view b);

// The text after the last backslash.
std::wstring_view CaptionOf(std::wstring_view path);
