#include "picture_paths.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

std::wstring Lowered(std::wstring_view text) {
    std::wstring lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); });
    return lowered;
}

constexpr std::wstring_view kTemporaryShotName = L"ShotPictemp_0";

}  // namespace

bool IsPlainFileName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") {
        return false;
    }
    return name.find_first_of(L"\\/:*?\"<>|") == std::wstring_view::npos &&
           std::none_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x20; });
}

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

std::optional<std::wstring> NamedShotPath(std::wstring_view path, std::wstring_view name, int imageType) {
    static constexpr std::wstring_view kExtensions[] = {L".bmp", L".jpg", L".tiff"};
    const std::size_t at = path.rfind(kTemporaryShotName);
    if (at == std::wstring_view::npos || imageType < 1 || imageType > 3 || !IsPlainFileName(name)) {
        return std::nullopt;
    }
    std::wstring named(path.substr(0, at));
    named += name;
    named += kExtensions[imageType - 1];
    return named;
}

std::wstring TimestampedPath(std::wstring_view path, const LocalTime& time) {
    const std::size_t slash = path.rfind(L'\\');
    const std::size_t dot = path.rfind(L'.');
    const bool hasExtension = dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash);
    const std::size_t cut = hasExtension ? dot : path.size();
    wchar_t stamp[64] = {};
    std::swprintf(stamp, 64, L"_%4d%02d%02d%02d%02d%02d%04d", time.year, time.month, time.day, time.hour, time.minute,
                  time.second, time.milliseconds);
    return std::wstring(path.substr(0, cut)) + stamp + std::wstring(path.substr(cut));
}
