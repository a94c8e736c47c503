#pragma once
// The sections and keys of an INI file's bytes: UTF-8 (with or without a
// byte-order mark) or UTF-16LE with its mark, as the platform's profile
// functions write it. Lines are "[section]", "key=value" or comments
// starting with ';' or '#'; names compare without regard to ASCII case and
// surrounding blanks are dropped. Malformed lines are skipped and bytes
// that are not UTF-8 read as U+FFFD, so any input gives a result.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq::simcam {

class IniText {
public:
    static IniText Parse(std::span<const std::uint8_t> bytes);

    // The value of the first occurrence of key in section.
    std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;

private:
    std::map<std::u16string, std::map<std::u16string, std::u16string>> sections_;
};

// A value read as a decimal number in lo..hi (digits only), or nothing.
std::optional<std::int32_t> IniNumber(const std::optional<std::u16string>& text, std::int32_t lo, std::int32_t hi);

// The bytes of the file at path; nothing when it is missing, not a regular
// file or cannot be read whole.
std::optional<std::vector<std::uint8_t>> ReadIniBytes(const std::filesystem::path& path);

}  // namespace kq::simcam
