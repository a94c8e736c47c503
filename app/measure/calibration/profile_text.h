#pragma once
// Texts in named sections under keys, as an INI file holds them. Section
// names compare without regard to case; keys likewise.
#include <optional>
#include <string>
#include <string_view>

class ProfileText {
public:
    virtual ~ProfileText() = default;
    // The stored text, or nothing when the key is missing.
    virtual std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const = 0;
    virtual bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) = 0;
    virtual bool DeleteKey(std::u16string_view section, std::u16string_view key) = 0;
    // Deletes the whole file.
    virtual bool RemoveAll() = 0;
};
