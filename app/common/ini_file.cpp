#include "ini_file.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "module_folder.h"

namespace {

// Floats are short: the read is cut at 49 characters as it always was.
constexpr DWORD kFloatChars = 50;
// Texts (folder paths among them) are read whole up to the longest path the
// platform accepts.
constexpr DWORD kMaxTextChars = 32768;

std::wstring ReadProfileText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                             const std::wstring& path, DWORD maxChars) {
    std::wstring buffer(std::min<DWORD>(256, maxChars), L'\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringW(section, key, fallback, buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), path.c_str());
        // n == size - 1 means the value may have been cut: read again larger.
        if (n + 1 < buffer.size() || buffer.size() >= maxChars) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(std::min<std::size_t>(buffer.size() * 4, maxChars));
    }
}

}  // namespace

CIniFile::CIniFile() : m_strPath(GetModuleFolder() + L"Config.ini") {}

int CIniFile::GetInt(int& out, const wchar_t* section, const wchar_t* key, int defaultValue) {
    out = static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, m_strPath.c_str()));
    return out;
}

std::uint8_t CIniFile::GetInt(std::uint8_t& out, const wchar_t* section, const wchar_t* key, int defaultValue) {
    int value = 0;
    out = static_cast<std::uint8_t>(GetInt(value, section, key, defaultValue) & 0xFF);
    return out;
}

float CIniFile::GetFloat(float& out, const wchar_t* section, const wchar_t* key, int defaultValue) {
    const std::wstring text = ReadProfileText(section, key, kMissing, m_strPath, kFloatChars);
    if (text == kMissing) {
        out = static_cast<float>(defaultValue);
    } else {
        // Text that is no number reads as 0, as the C runtime's conversion gives.
        out = std::wcstof(text.c_str(), nullptr);
    }
    return out;
}

const std::wstring& CIniFile::GetString(std::wstring& out, const wchar_t* section, const wchar_t* key, int /*unused*/) {
    out = ReadProfileText(section, key, kMissing, m_strPath, kMaxTextChars);
    return out;
}

void CIniFile::GetFaceName(std::span<wchar_t> buffer, const wchar_t* section, const wchar_t* defaultText) {
    if (buffer.empty()) {
        return;
    }
    GetPrivateProfileStringW(section, L"Fa", defaultText, buffer.data(), static_cast<DWORD>(buffer.size()),
                             m_strPath.c_str());
}

BOOL CIniFile::WriteInt(int value, const wchar_t* section, const wchar_t* key) {
    m_strValue = std::to_wstring(value);
    return WriteString(m_strValue.c_str(), section, key);
}

BOOL CIniFile::WriteFloat(float value, const wchar_t* section, const wchar_t* key) {
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%f", static_cast<double>(value));
    m_strValue = text;
    return WriteString(m_strValue.c_str(), section, key);
}

BOOL CIniFile::WriteString(const wchar_t* value, const wchar_t* section, const wchar_t* key) {
    return WritePrivateProfileStringW(section, key, value, m_strPath.c_str());
}

BOOL CIniFile::DeleteKey(const wchar_t* section, const wchar_t* key) {
    return WritePrivateProfileStringW(section, key, nullptr, m_strPath.c_str());
}

BOOL CIniFile::FileExists() const {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(m_strPath.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    FindClose(find);
    return TRUE;
}

BOOL CIniFile::CreateEmpty() {
    // OPEN_ALWAYS: an existing file keeps its settings; the wide path works
    // whatever the system code page is.
    HANDLE file = CreateFileW(m_strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    CloseHandle(file);
    return TRUE;
}
