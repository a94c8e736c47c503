#pragma once
// The six length units of calibrations, in the order every list shows them
// (their positions are combo indices), and the conversion between them.
#include <array>
#include <string>
#include <string_view>

inline constexpr std::array<std::u16string_view, 6> kLengthUnits = {u"\u03bcm", u"mm", u"cm", u"inch", u"mil", u"uin"};

// The unit a calibration has when none is stored.
inline constexpr std::u16string_view kDefaultUnit = kLengthUnits[0];

// Position of a unit text in kLengthUnits, or -1.
int UnitIndex(std::u16string_view unit);

// A stored unit text as the program uses it: the "NULL" of a missing key and
// an empty text mean the default unit, and so does "µm" with the micro sign,
// the form "μm" takes in a file written in an 8-bit code page.
std::u16string_view NormalizeUnit(std::u16string_view unit);

// The unit after `unit` in the display cycle "μm", "mm", "cm", "inch", "mil",
// "uin" and back to "μm"; a text outside the cycle starts it again at "μm".
// A stored form of the default unit (see NormalizeUnit) counts as "μm".
std::u16string_view NextLengthUnit(std::u16string_view unit);

// value converted from one unit into another. Equal texts, or a text that is
// not one of the six units, give the value unchanged: a wrong factor would
// silently scale every length.
double ConvertUnit(float value, std::u16string_view from, std::u16string_view to);
