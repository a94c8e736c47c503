#include "thumb_rules.h"

#include <algorithm>
#include <cwctype>

namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c))); }

bool EndsWithNoCase(std::wstring_view text, std::wstring_view end) {
    return text.size() >= end.size() && SamePath(text.substr(text.size() - end.size()), end);
}

}  // namespace

bool SamePath(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Lower(x) == Lower(y); });
}

int ThumbFileType(std::wstring_view path) {
    if (EndsWithNoCase(path, L"jpg") || EndsWithNoCase(path, L"jpeg")) {
        return 2;
    }
    if (EndsWithNoCase(path, L"bmp")) {
        return 1;
    }
    if (EndsWithNoCase(path, L"tiff")) {
        return 3;
    }
    return 0;
}

std::wstring_view CaptionOf(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}
