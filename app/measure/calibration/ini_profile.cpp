#include "ini_profile.h"

#include <windows.h>

#include "module_folder.h"

namespace {

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::wstring ScaleIniPath() {
    return GetModuleFolder() + L"scale.ini";
}

IniProfile::IniProfile(std::wstring path) {
    ini_.m_strPath = std::move(path);
}

std::optional<std::u16string> IniProfile::Read(std::u16string_view section, std::u16string_view key) const {
    std::wstring text;
    ini_.GetString(text, Wide(section).c_str(), Wide(key).c_str());
    if (text == CIniFile::kMissing) {
        return std::nullopt;
    }
    return std::u16string(text.begin(), text.end());
}

bool IniProfile::EnsureUnicodeFile() {
    HANDLE file = CreateFileW(ini_.m_strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_EXISTS;
    }
    const unsigned char bom[] = {0xFF, 0xFE};
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bom, sizeof bom, &written, nullptr);
    CloseHandle(file);
    return ok && written == sizeof bom;
}

bool IniProfile::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    return EnsureUnicodeFile() &&
           ini_.WriteString(Wide(value).c_str(), Wide(section).c_str(), Wide(key).c_str());
}

bool IniProfile::DeleteKey(std::u16string_view section, std::u16string_view key) {
    return ini_.DeleteKey(Wide(section).c_str(), Wide(key).c_str());
}

bool IniProfile::RemoveAll() {
    return DeleteFileW(ini_.m_strPath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
