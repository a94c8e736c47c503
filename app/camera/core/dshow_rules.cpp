#include "dshow_rules.h"

#include <cwchar>

std::wstring GraphTableName(std::uint64_t graphAddress, std::uint32_t processId) {
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"FilterGraph %08llx pid %08x", static_cast<unsigned long long>(graphAddress),
                  static_cast<unsigned>(processId));
    return text;
}

std::wstring ListedDeviceName(std::wstring_view friendlyName) {
    return std::wstring(friendlyName.substr(0, kDeviceNameChars));
}

std::wstring FrameRateKey(int width) {
    return L"cap" + std::to_wstring(width);
}

std::int64_t RecordingFrameDuration(int framesPerSecond) {
    return 10000000 / (framesPerSecond > 0 ? framesPerSecond : 4);
}

std::optional<std::size_t> FindCompressor(std::span<const std::wstring> names, std::wstring_view part) {
    if (part.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].find(part) != std::wstring::npos) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t CompressorSelection(std::span<const std::wstring> names, std::wstring_view stored) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == stored) {
            return i;
        }
    }
    return 0;
}

std::wstring FormatLabel(int width, int height) {
    return std::to_wstring(width) + L" * " + std::to_wstring(height);
}

std::optional<ListedFormat> ChooseSnapshotSize(std::span<const ListedFormat> list, const std::wstring& label, int width,
                                               int height) {
    if (list.empty()) {
        return std::nullopt;
    }
    const ListedFormat* largest = &list.front();
    for (const ListedFormat& entry : list) {
        if (entry.width == width && entry.height == height) {
            return ListedFormat{label, width, height};
        }
        if (entry.width > largest->width && entry.height > largest->height) {
            largest = &entry;
        }
    }
    return *largest;
}

int ImageTypeChoice(int imageType) {
    return imageType >= 1 && imageType <= 3 ? imageType - 1 : -1;
}

int NameTypeChoice(int nameType) {
    return nameType == 0 || nameType == 1 ? nameType : -1;
}

int SnapshotSizeChoice(std::span<const ListedFormat> list, int width, int height) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].width == width && list[i].height == height) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
