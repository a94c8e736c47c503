// KQGE.ini: the white-balance gains per colour model, keys "RValue",
// "GValue" and "BValue" in a section named for the model ("Parsun_AWB" for
// 0x14000, "AWB" for a model without a name of its own).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "white_balance.h"

namespace kq::simcam {
class IniText;
}

namespace kqge {

inline constexpr char16_t kAwbSettingsFileName[] = u"KQGE.ini";
inline constexpr char16_t kRedGainKey[] = u"RValue";
inline constexpr char16_t kGreenGainKey[] = u"GValue";
inline constexpr char16_t kBlueGainKey[] = u"BValue";

// The section of `modelCode`.
std::u16string AwbSectionName(std::uint32_t modelCode);

// The file the gains live in. The algorithm reads and writes it on the
// caller's thread; an implementation needs no lock of its own. No virtual
// destructor: the algorithm never owns one.
class AwbSettingsFile {
public:
    virtual bool Exists() const = 0;
    // The gains of `section`, each 1 when its key is missing and 0 when its
    // text is not a number (the profile functions' reading).
    virtual AwbGains Read(std::u16string_view section) const = 0;
    // Creates the file when it is missing; false when it cannot be created
    // or written.
    virtual bool Write(std::u16string_view section, const AwbGains& gains) = 0;

protected:
    ~AwbSettingsFile() = default;
};

// The integer the profile functions read from a value's text: optional
// blanks, an optional sign and decimal digits, 0 without digits, limited to
// the int32 range.
std::int32_t ProfileInt(std::u16string_view text);

// The gains of `section` as the profile functions read them from a file's
// text.
AwbGains ReadAwbGains(const kq::simcam::IniText& file, std::u16string_view section);

}  // namespace kqge
