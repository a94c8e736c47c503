#pragma once
// The camera libraries take a saturation of 1..16, 8 leaving the colours as
// the sensor gives them. The controls start at 1, so a stored value below 1
// was never chosen: it is the settings' old default, which the libraries
// read as 1 (every pixel nearly grey). Such a value reads as neutral.

namespace camera_settings {

inline constexpr int kNeutralSaturation = 8;

constexpr int ChosenOrNeutralSaturation(int stored) { return stored < 1 ? kNeutralSaturation : stored; }

}  // namespace camera_settings
