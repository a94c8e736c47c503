#include "log_font.h"

#include <algorithm>

std::u16string_view LogFont::FaceName() const {
    const auto end = std::find(faceName.begin(), faceName.end(), u'\0');
    return std::u16string_view(faceName.data(), static_cast<std::size_t>(end - faceName.begin()));
}

void LogFont::SetFaceName(std::u16string_view name) {
    faceName.fill(u'\0');
    const std::size_t n = std::min(name.size(), kFaceChars);
    std::copy_n(name.begin(), n, faceName.begin());
}
