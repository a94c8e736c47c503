#pragma once
// The settings file helper: integers, floats and texts in an INI file beside
// the program (Config.ini unless a caller points m_strPath elsewhere), through
// the platform's private-profile functions. Reads never fail: a missing file
// or key gives the default; texts of a missing key read as "NULL".
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

class CIniFile {
public:
    CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    virtual ~CIniFile() = default;

    int GetInt(int& out, const wchar_t* section, const wchar_t* key, int defaultValue);
    std::uint8_t GetInt(std::uint8_t& out, const wchar_t* section, const wchar_t* key, int defaultValue);
    float GetFloat(float& out, const wchar_t* section, const wchar_t* key, int defaultValue);
    const std::wstring& GetString(std::wstring& out, const wchar_t* section, const wchar_t* key, int unused = 0);
    // The label font's face name: key "Fa" of the section.
    void GetFaceName(std::span<wchar_t> buffer, const wchar_t* section, const wchar_t* defaultText);

    BOOL WriteInt(int value, const wchar_t* section, const wchar_t* key);
    BOOL WriteFloat(float value, const wchar_t* section, const wchar_t* key);
    BOOL WriteString(const wchar_t* value, const wchar_t* section, const wchar_t* key);
    BOOL DeleteKey(const wchar_t* section, const wchar_t* key);

    BOOL FileExists() const;
    // Creates the file empty when it does not exist; an existing file is kept.
    BOOL CreateEmpty();

    // The text that a missing key reads as.
    static constexpr const wchar_t* kMissing = L"NULL";

    std::wstring m_strPath;
    std::wstring m_strValue;  // the formatted value of the last numeric write
};
