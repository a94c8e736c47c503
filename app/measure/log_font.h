#pragma once
// A font description with the fields and widths of the platform's LOGFONTW,
// so that records store it field by field and the Windows side can create
// the font from it.
#include <array>
#include <cstdint>
#include <string_view>

struct LogFont {
    static constexpr std::size_t kFaceChars = 31;  // plus the terminating zero

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char16_t, kFaceChars + 1> faceName{};

    std::u16string_view FaceName() const;
    // Keeps at most 31 characters.
    void SetFaceName(std::u16string_view name);

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The font of the system's stock SYSTEM_FONT, the default of every object.
LogFont SystemLogFont();
