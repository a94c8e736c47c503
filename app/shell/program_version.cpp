#include <windows.h>

#include <string>
#include <vector>

#include "mikra_app.h"

std::wstring GetProgramVersion() {
    std::vector<wchar_t> path(32768, L'\0');
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.data(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.data(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) {
        return {};
    }
    return FormatProgramVersion(info->dwFileVersionMS, info->dwFileVersionLS);
}

std::wstring FormatProgramVersion(DWORD versionMS, DWORD versionLS) {
    // The second and fourth numbers keep only their low 8 bits.
    return std::to_wstring(HIWORD(versionMS)) + L"." + std::to_wstring(versionMS & 0xFF) + L"." +
           std::to_wstring(HIWORD(versionLS)) + L"." + std::to_wstring(versionLS & 0xFF);
}
