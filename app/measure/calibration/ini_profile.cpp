#include "ini_profile.h"

#include <windows.h>

#include "module_folder.h"

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::wstring ScaleIniPath() { return GetModuleFolder() + L"scale.ini"; }

IniProfile::IniProfile(std::wstring path) { ini_.m_strPath = std::move(path); }

std::optional<std::u16string> IniProfile::Read(std::u16string_view section, std::u16string_view key) const {
    std::wstring text;
    ini_.GetString(text, Wide(section).c_str(), Wide(key).c_str());
    if (text == CIniFile::kMissing) {
        return std::nullopt;
    }
    return std::u16string(text.begin(), text.end());
}

bool EnsureUnicodeIniFile(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (ok && size.QuadPart == 0) {
        const unsigned char bom[] = {0xFF, 0xFE};
        DWORD written = 0;
        ok = WriteFile(file, bom, sizeof bom, &written, nullptr) && written == sizeof bom;
    }
    CloseHandle(file);
    return ok;
}

bool IniProfile::EnsureUnicodeFile() { return EnsureUnicodeIniFile(ini_.m_strPath); }

bool IniProfile::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    return EnsureUnicodeFile() && ini_.WriteString(Wide(value).c_str(), Wide(section).c_str(), Wide(key).c_str());
}

bool IniProfile::DeleteKey(std::u16string_view section, std::u16string_view key) {
    return ini_.DeleteKey(Wide(section).c_str(), Wide(key).c_str());
}

bool IniProfile::RemoveAll() { return DeleteFileW(ini_.m_strPath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }
