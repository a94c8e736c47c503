#include "capture_file_names.h"

#include <array>
#include <cwchar>

namespace {

// Candidates tried after the plain name before a recording gives up.
constexpr int kMaxVideoSuffix = 1000;

const wchar_t* ExtensionOf(int imageType) {
    switch (static_cast<ShotImageType>(imageType)) {
    case ShotImageType::bmp: return L".bmp";
    case ShotImageType::jpeg: return L".jpg";
    case ShotImageType::tiff: return L".tiff";
    }
    return nullptr;
}

template <typename... Args>
std::wstring Format(const wchar_t* pattern, Args... args) {
    std::array<wchar_t, 96> buffer{};
    const int written = std::swprintf(buffer.data(), buffer.size(), pattern, args...);
    return written < 0 ? std::wstring() : std::wstring(buffer.data(), static_cast<std::size_t>(written));
}

}  // namespace

std::optional<std::wstring> NextSnapshotFileName(int imageType, const LocalTimestamp& now, bool userNaming,
                                                 std::wstring& pendingName) {
    const wchar_t* const extension = ExtensionOf(imageType);
    if (userNaming && !pendingName.empty()) {
        std::wstring name = pendingName + (extension ? extension : L"");
        pendingName.clear();
        if (!extension) {
            return std::nullopt;
        }
        return name;
    }
    if (!extension) {
        return std::nullopt;
    }
    return Format(L"Shot_%4d%02d%02d%02d%02d%02d%04d", now.year, now.month, now.day, now.hour, now.minute, now.second,
                  now.millisecond) +
           extension;
}

std::optional<std::wstring> NewVideoPath(const std::wstring& folder, const LocalTimestamp& now,
                                         const PathExists& exists) {
    const std::wstring stem = folder + Format(L"Video_%04d%02d%02d%02d%02d%02d", now.year, now.month, now.day, now.hour,
                                              now.minute, now.second);
    std::wstring path = stem + L".avi";
    for (int suffix = 2; exists(path); ++suffix) {
        if (suffix > kMaxVideoSuffix) {
            return std::nullopt;
        }
        path = stem + Format(L"_%d", suffix) + L".avi";
    }
    return path;
}
