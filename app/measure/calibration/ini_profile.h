#pragma once
// ProfileText over an INI file through CIniFile. A file this class creates
// is UTF-16 with a byte-order mark, so texts such as the unit "μm" survive
// whatever the system code page is; existing files are used as they are.
#include <string>

#include "ini_file.h"
#include "profile_text.h"

class IniProfile final : public ProfileText {
public:
    explicit IniProfile(std::wstring path);

    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const override;
    bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;
    bool DeleteKey(std::u16string_view section, std::u16string_view key) override;
    bool RemoveAll() override;

    const std::wstring& Path() const { return ini_.m_strPath; }

private:
    bool EnsureUnicodeFile();

    mutable CIniFile ini_;
};

// scale.ini beside the program.
std::wstring ScaleIniPath();

// Makes a file that does not exist, or is empty, a UTF-16 INI file (a
// byte-order mark), so that the platform's profile functions keep texts
// outside the code page. A file with content is left as it is. False when
// the file cannot be created or read.
bool EnsureUnicodeIniFile(const std::wstring& path);
