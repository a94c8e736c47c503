#include "picture_paths.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Lowered(std::wstring_view text) {
    std::wstring lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); });
    return lowered;
}

}  // namespace

int PictureTypeOfPath(std::wstring_view path) {
    const std::wstring name = Lowered(FileNameOfPath(path));
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos) {
        return 0;
    }
    const std::wstring_view extension = std::wstring_view(name).substr(dot + 1);
    if (extension == L"bmp") return 1;
    if (extension == L"jpg" || extension == L"jpeg") return 2;
    if (extension == L"tif" || extension == L"tiff") return 3;
    return 0;
}

bool IsDrawingDocumentPath(std::wstring_view path) {
    return path.size() >= 4 && Lowered(path.substr(path.size() - 4)) == L"kqmk";
}

std::wstring FileNameOfPath(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}
